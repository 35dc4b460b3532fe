#include "printer/native/native_library.h"
#include "printer/press.h"
#include "tests/support/recording_library.h"
#include "tests/win32/winsock_peer.h"

#include <gtest/gtest.h>

#include <sstream>

namespace setip::native {
namespace {

using namespace std::chrono_literals;
using testing_support::Bytes;
using testing_support::PeerBehaviour;
using testing_support::WinsockPrinter;

const Bytes command192{0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 0xC0, 0xA8, 0x7B, 0x64};

std::optional<std::int32_t> press(PrinterLibrary& library, const std::string& printer,
                                  testing_support::RecordingMessages& messages) {
    std::ostringstream diagnostics;
    const WindowInputs inputs{u"ETHERNET", fromUtf8(printer), u"", u"19200", u"192.168.123.100"};
    return pressSetIp(inputs, library, messages, diagnostics);
}

std::int32_t openNetwork(NativeLibrary& library, const std::string& name) {
    return library.POS_Open(name.c_str(), 0, 0, 0, 0, 21);
}

std::string closedAddress() {
    const testing_support::WinsockListener gone;
    return gone.address();
}

TEST(WinsockPort, DeliversTheExactCommandAsTypedWithBlanksAndByHostName) {
    WinsockPrinter printer;
    NativeLibrary library;
    testing_support::RecordingMessages messages;
    const auto port = printer.address().substr(printer.address().find(':'));

    EXPECT_NE(press(library, printer.address(), messages), -1);
    press(library, "  " + printer.address() + " ", messages);
    press(library, "localhost" + port, messages);

    EXPECT_EQ(printer.connections(3), (std::vector<Bytes>{command192, command192, command192}));
    EXPECT_TRUE(messages.shown.empty()) << library.failureReason();
}

TEST(WinsockPort, FailsAtOnceWhenRefusedWithTheSystemsReason) {
    const std::string closed = closedAddress();
    NativeLibrary library;

    const auto started = Clock::now();
    EXPECT_EQ(openNetwork(library, closed), -1);
    EXPECT_LT(Clock::now() - started, 1s);
    const std::string reason = library.failureReason();
    EXPECT_TRUE(reason.starts_with("cannot connect to " + closed + ": ")) << reason;
    EXPECT_TRUE(reason.ends_with(" (error 10061)")) << reason;
}

TEST(WinsockPort, GivesUpOnAPrinterThatNeverAnswersAtTheDeadline) {
    const testing_support::FullBacklog silent;
    NativeLibrary library;
    testing_support::RecordingMessages messages;

    const auto started = Clock::now();
    EXPECT_EQ(press(library, silent.address(), messages), -1);
    const auto waited = Clock::now() - started;

    EXPECT_GE(waited, 2900ms) << "gave up before the deadline";
    EXPECT_LT(waited, 10s) << "hung past the deadline";
    EXPECT_EQ(messages.shown, std::vector<std::u16string>{u"error: Fail to open port,please check!"});
    EXPECT_EQ(library.failureReason(), "cannot connect to " + silent.address() +
                                           ": no answer within 3 s (is the printer on?)");
}

TEST(WinsockPort, FailsTheWriteWhenThePrinterResetsMidWay) {
    WinsockPrinter printer{PeerBehaviour::resetAfterOneKiB};
    NativeLibrary library;
    const Bytes large(8 << 20, 0x20);

    const std::int32_t handle = openNetwork(library, printer.address());
    ASSERT_NE(handle, -1);
    EXPECT_EQ(library.POS_WriteFile(handle, large.data(), static_cast<std::int32_t>(large.size())), -1);
    EXPECT_TRUE(library.failureReason().starts_with("cannot send to " + printer.address() + ": "))
        << library.failureReason();
    library.POS_Close();
    EXPECT_EQ(printer.connections(1).at(0).size(), 1024u);
}

TEST(WinsockPort, LeavesNoHandleOpenAfterManyPresses) {
    WinsockPrinter printer;
    const std::string closed = closedAddress();
    testing_support::RecordingMessages messages;
    {
        NativeLibrary warmUp;  // Winsock's own first-use handles are not the library's
        press(warmUp, printer.address(), messages);
    }
    const std::size_t before = testing_support::openHandleCount();
    {
        NativeLibrary library;
        for (int i = 0; i < 200; ++i) press(library, printer.address(), messages);
        for (int i = 0; i < 20; ++i) press(library, closed, messages);
        EXPECT_NE(openNetwork(library, printer.address()), -1) << "left open for the library to close";
    }
    EXPECT_EQ(testing_support::openHandleCount(), before);
    EXPECT_EQ(printer.connections(202).size(), 202u);
    EXPECT_EQ(messages.shown.size(), 20u);
}

}  // namespace
}  // namespace setip::native
