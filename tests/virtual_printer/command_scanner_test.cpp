#include "tests/support/table.h"
#include "tests/virtual_printer/byte_strings.h"
#include "tools/virtual-printer/command_scanner.h"
#include "tools/virtual-printer/hex_dump.h"

#include <gtest/gtest.h>


namespace setip::virtual_printer {
namespace {

using testing_support::Bytes;
using testing_support::command;
using testing_support::operator+;

const Bytes status{statusRequest.begin(), statusRequest.end()};
const Bytes to7 = command({127, 0, 0, 7});
const Bytes to8 = command({127, 0, 0, 8});
const Bytes initialise{0x1B, 0x40};  // another printer command, and text
const Bytes text{'A', 'B', '\n'};

struct Stream {
    const char* name;
    Bytes bytes;
    std::vector<Bytes> commands;
    friend void PrintTo(const Stream& row, std::ostream* out) {
        *out << row.name << ": " << hexBytes(row.bytes);
    }
};

// The stream fed to one scanner in reads of these lengths: every command found, in order, in hex.
std::vector<std::string> scan(std::span<const std::uint8_t> stream, const std::vector<std::size_t>& reads) {
    CommandScanner scanner;
    std::vector<std::string> found;
    for (std::size_t at = 0; const std::size_t length : reads) {
        for (const auto& command : scanner.feed(stream.subspan(at, length))) found.push_back(hexBytes(command));
        at += length;
    }
    return found;
}

// Whole, in reads of each length (a byte at a time first), and in two reads cut at every position.
std::vector<std::vector<std::size_t>> waysToRead(std::size_t size) {
    std::vector<std::vector<std::size_t>> ways;
    for (std::size_t length = 1; length <= size; ++length) {
        auto& reads = ways.emplace_back(size / length, length);
        if (size % length != 0) reads.push_back(size % length);
    }
    for (std::size_t cut = 1; cut < size; ++cut) ways.push_back({cut, size - cut});
    return ways;
}

class CommandScannerTest : public testing::TestWithParam<Stream> {};

TEST_P(CommandScannerTest, FindsTheseCommandsHoweverTheReadsSplitTheStream) {
    const auto& row = GetParam();
    std::vector<std::string> expected;
    for (const auto& command : row.commands) expected.push_back(hexBytes(command));
    for (const auto& reads : waysToRead(row.bytes.size())) {
        EXPECT_EQ(scan(row.bytes, reads), expected) << "read in pieces of " << testing::PrintToString(reads);
        if (HasFailure()) break;  // one way that fails says enough
    }
}

INSTANTIATE_TEST_SUITE_P(Streams, CommandScannerTest, testing::ValuesIn(std::vector<Stream>{
    {"other bytes before, between and after commands", initialise + to7 + text + to8 + text, {to7, to8}},
    {"commands back to back", to8 + to7, {to8, to7}},
    {"a false start that the command overlaps", Bytes{0x1F, 0x1B, 0x1F} + to7, {to7}},
    {"a command one byte short is none", Bytes(to7.begin(), to7.end() - 1), {}},
    {"fixed bytes that differ in the last one make no command",
     Bytes{0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x51, 127, 0, 0, 7}, {}},
    {"octets that begin the fixed bytes start no second command",
     command({0x1F, 0x1B, 0x1F, 0x91}) + Bytes{0x00, 0x49, 0x50, 127, 0, 0, 7}, {command({0x1F, 0x1B, 0x1F, 0x91})}},
    {"a command's last byte begins no second command",
     command({127, 0, 0, 0x1F}) + Bytes{0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 127, 0, 0, 7},
     {command({127, 0, 0, 0x1F})}},
    {"a status request, alone and among a command's octets", status + command({16, 4, 1, 9}),
     {status, status, command({16, 4, 1, 9})}},
    {"a status request after a false start, and another DLE EOT that is none",
     Bytes{0x10, 0x04} + status + Bytes{0x10, 0x04, 0x02}, {status}},
}), testing_support::RowName{});

}  // namespace
}  // namespace setip::virtual_printer
