#include "tools/virtual-printer/command_scanner.h"

#include <gtest/gtest.h>

#include <vector>

namespace setip::virtual_printer {
namespace {

using Bytes = std::vector<std::uint8_t>;
const Bytes command{0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 0x7F, 0x00, 0x00, 0x07};

TEST(CommandScanner, FindsTheCommandHoweverTheReadsSplitIt) {
    for (std::size_t cut = 0; cut < command.size(); ++cut) {
        CommandScanner scanner;
        const std::span<const std::uint8_t> all{command};
        EXPECT_EQ(scanner.feed(all.first(cut)), std::nullopt) << cut;
        EXPECT_EQ(scanner.feed(all.subspan(cut)), (Octets{127, 0, 0, 7})) << cut;
    }
}

TEST(CommandScanner, FindsTheCommandAfterAFalseStartAndIgnoresOtherBytes) {
    Bytes stream{0x1B, 0x40, 0x1F, 0x1B};  // an init, then a start of the fixed bytes that the real command overlaps
    stream.insert(stream.end(), command.begin(), command.end());
    CommandScanner scanner;
    EXPECT_EQ(scanner.feed(Bytes{0x1D, 0x56, 0x00}), std::nullopt);
    EXPECT_EQ(scanner.feed(stream), (Octets{127, 0, 0, 7}));
}

}  // namespace
}  // namespace setip::virtual_printer
