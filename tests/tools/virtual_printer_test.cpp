#include "common/posix/unique_fd.h"
#include "tests/native/loopback_peer.h"
#include "tools/virtual-printer/command_scanner.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace setip {
namespace {

using namespace std::chrono_literals;
using testing_support::ChildProcess;

// Other bytes, then a start of the fixed bytes that the real command overlaps, then the command for 127.0.0.7.
const std::vector<std::uint8_t> stream{0x1D, 0x56, 0x00, 0x1B, 0x40, 0x1F, 0x1B,
                                       0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 0x7F, 0x00, 0x00, 0x07};

TEST(CommandScanner, FindsTheCommandAfterOtherBytesAndAFalseStartHoweverTheReadsSplitIt) {
    for (std::size_t cut = 0; cut < stream.size(); ++cut) {
        virtual_printer::CommandScanner scanner;
        const std::span<const std::uint8_t> all{stream};
        EXPECT_EQ(scanner.feed(all.first(cut)), std::nullopt) << cut;
        EXPECT_EQ(scanner.feed(all.subspan(cut)), (Octets{127, 0, 0, 7})) << cut;
    }
}

void press(const std::string& present, const Text& next) {
    testing_support::NetworkPress press;
    ASSERT_NE(press(present, next), -1) << press.diagnostics.str();
    EXPECT_TRUE(press.messages.shown.empty());
}

TEST(VirtualPrinter, StaysWhenTheNewAddressIsOffLoopbackAndMovesToANewLoopbackAddress) {
    ChildProcess printer{{VIRTUAL_PRINTER_PATH, "--listen", "127.0.0.2:9101"}};
    ASSERT_TRUE(printer.waitForLine("listening on 127.0.0.2:9101", deadlineAfter(5s))) << printer.output();

    press("127.0.0.2:9101", u"192.168.1.50");  // only the command carries this address; nothing is sent there
    EXPECT_TRUE(printer.waitForLine("not moving to 192.168.1.50: only loopback addresses (127.x.y.z) are taken "
                                    "here; still on 127.0.0.2:9101",
                                    deadlineAfter(5s)))
        << printer.output();
    press("127.0.0.2:9101", u"127.0.0.7");
    ASSERT_TRUE(printer.waitForLine("0000  1F 1B 1F 91 00 49 50 7F 00 00 07", deadlineAfter(5s))) << printer.output();
    ASSERT_TRUE(printer.waitForLine("set-address command: new address 127.0.0.7", deadlineAfter(5s)));
    ASSERT_TRUE(printer.waitForLine("now listening on 127.0.0.7:9101", deadlineAfter(5s))) << printer.output();

    press("127.0.0.7:9101", u"127.0.0.2");  // it answers at the new address, and can be moved back
    EXPECT_TRUE(printer.waitForLine("now listening on 127.0.0.2:9101", deadlineAfter(5s))) << printer.output();
}

TEST(VirtualPrinter, RefusesAnAddressItWouldHaveToLookUp) {
    ChildProcess printer{{VIRTUAL_PRINTER_PATH, "--listen", "localhost"}};
    EXPECT_TRUE(printer.waitForLine("cannot listen on localhost:9100: \"localhost\" is not a numeric IPv4 address",
                                    deadlineAfter(5s)))
        << printer.output();
}

TEST(VirtualPrinter, StandsInForASerialPrinterOnAPseudoTerminal) {
    ChildProcess printer{{VIRTUAL_PRINTER_PATH, "--pty"}};
    ASSERT_TRUE(printer.waitForLine("(open it in setip as COM:", deadlineAfter(5s))) << printer.output();
    const auto start = printer.output().find("COM:") + 4;
    const auto path = printer.output().substr(start, printer.output().find(')', start) - start);

    for (int press = 0; press < 2; ++press) {  // the line stays usable after the host closes it
        const UniqueFd line{::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC)};
        ASSERT_TRUE(line) << path;
        const std::uint8_t command[] = {0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 10, 0, 0, 7};
        ASSERT_EQ(::write(line.get(), command, sizeof command), 11);
        EXPECT_TRUE(printer.waitForLine("set-address command: new address 10.0.0.7", deadlineAfter(5s)))
            << printer.output();
    }
}

}  // namespace
}  // namespace setip
