#include "printer/native/native_library.h"
#include "tests/native/loopback_peer.h"

#include <gtest/gtest.h>

#include <optional>
#include <thread>

namespace setip::native {
namespace {

using namespace std::chrono_literals;
using testing_support::Bytes;
using testing_support::LoopbackPrinter;
using testing_support::Press;

const Bytes command192{0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 0xC0, 0xA8, 0x7B, 0x64};

// The printer goes away with the send's bytes unread, so its side resets the connection.
TEST(NetworkPort, FailsTheWriteWhenThePrinterResetsMidWay) {
    std::optional<LoopbackPrinter> printer{std::in_place};
    const std::string address = printer->address();
    Press press;
    const Bytes large(64 << 20, 0x20);  // more than the socket buffers hold, so the send is still going on

    const std::int32_t handle = press.open(address);
    ASSERT_NE(handle, -1);
    const std::jthread reset{[&printer] {
        std::this_thread::sleep_for(300ms);
        printer.reset();
    }};
    EXPECT_EQ(press.library.POS_WriteFile(handle, large.data(), static_cast<std::int32_t>(large.size())), -1);
    const std::string reason = press.library.failureReason();
    EXPECT_TRUE(reason.starts_with("cannot send to " + address)) << reason;
}

// Typed as it stands, with blanks around it and by name, the printer gets the exact command each time. The refusals,
// the timeouts and the unknown names are in the ports suite's table.
TEST(NetworkPort, DeliversTheExactCommandAsTypedAndLeavesNoDescriptorOpenAfterAThousandPresses) {
    LoopbackPrinter printer;
    const auto refusing = testing_support::refusingAddress();
    const std::string typed[] = {printer.address(), "  " + printer.address() + " ",
                                 "localhost" + printer.address().substr(printer.address().find(':'))};
    const std::size_t before = testing_support::openDescriptorCount();
    {
        Press press;
        for (int i = 0; i < 999; ++i) press(typed[i % 3]);
        for (int i = 0; i < 50; ++i) press(refusing);
        const std::int32_t stale = press.open(printer.address());
        const std::int32_t current = press.open(printer.address());  // closes the stale one's connection
        EXPECT_EQ(press.library.POS_WriteFile(stale, command192.data(), 11), -1);
        EXPECT_EQ(press.library.POS_WriteFile(current, command192.data(), 11), 11) << "left open for the library";
        EXPECT_EQ(press.messages.shown.size(), 50u) << "only the refusals are told";
    }
    EXPECT_EQ(testing_support::openDescriptorCount(), before);
    std::vector<testing_support::Connection> sent(999, testing_support::carrying(command192));
    sent.emplace_back();
    sent.push_back(testing_support::carrying(command192));
    EXPECT_EQ(printer.connections(1001), sent);
}

}  // namespace
}  // namespace setip::native
