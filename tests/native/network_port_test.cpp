#include "tests/native/loopback_peer.h"

#include <gtest/gtest.h>

#include <optional>
#include <thread>

namespace setip::builtin {
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
    const std::jthread reset{[&printer] {
        std::this_thread::sleep_for(300ms);
        printer.reset();
    }};
    try {
        press.library.write(handle, large);
        ADD_FAILURE() << "the write succeeded";
    } catch (const PrinterFailure& failure) {
        EXPECT_TRUE(std::string{failure.what()}.starts_with("cannot send to " + address)) << failure.what();
    }
    EXPECT_THROW(press.library.write(handle, command192), PrinterFailure) << "a write after the reset raises no SIGPIPE";
}

// A name goes to the system's resolver; the ports suite's resolver stands in for it everywhere else.
TEST(NetworkPort, LooksANameUpWithTheSystemsResolver) {
    LoopbackPrinter printer;
    EXPECT_TRUE(Press{}("localhost" + printer.address().substr(printer.address().find(':'))).sent());
    EXPECT_EQ(printer.connections(1), std::vector{testing_support::carrying(command192)});
}

// A handle from before the last open is not the current port's, so a write through it goes nowhere.
TEST(NetworkPort, RefusesAStaleHandle) {
    LoopbackPrinter printer;
    Press press;
    const std::int32_t stale = press.open(printer.address());
    const std::int32_t current = press.open(printer.address());  // closes the stale one's connection
    EXPECT_THROW(press.library.write(stale, command192), PrinterFailure);
    press.library.write(current, command192);
    press.library.close();
    const testing_support::Connection nothing;
    EXPECT_EQ(printer.connections(2), (std::vector{nothing, testing_support::carrying(command192)}));
}

}  // namespace
}  // namespace setip::builtin
