#include "printer/native/native_library.h"
#include "printer/press.h"
#include "tests/support/recording_library.h"
#include "tests/win32/winsock_peer.h"

#include <gtest/gtest.h>

#include <future>
#include <sstream>

namespace setip::native {
namespace {

using namespace std::chrono_literals;
using testing_support::Bytes;
using testing_support::WinsockListener;

const Bytes command192{0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 0xC0, 0xA8, 0x7B, 0x64};

std::optional<std::int32_t> press(PrinterLibrary& library, const std::string& printer,
                                  testing_support::RecordingMessages& messages) {
    std::ostringstream diagnostics;
    const WindowInputs inputs{u"ETHERNET", fromUtf8(printer), u"", u"19200", u"192.168.123.100"};
    return pressSetIp(inputs, library, messages, diagnostics);
}

TEST(WinsockPort, DeliversTheExactCommandByAddressAndByName) {
    const WinsockListener printer;
    const std::string port = printer.address().substr(printer.address().find(':'));
    NativeLibrary library;
    testing_support::RecordingMessages messages;
    for (const std::string& name : {printer.address(), "localhost" + port}) {
        auto received = std::async(std::launch::async, [&] { return printer.receive(); });
        press(library, name, messages);
        EXPECT_EQ(received.get(), command192) << name;
    }
    EXPECT_TRUE(messages.shown.empty()) << library.failureReason();
}

TEST(WinsockPort, FailsAtOnceWhenRefusedWithTheSystemsReason) {
    const std::string closed = WinsockListener{}.address();
    NativeLibrary library;
    const auto started = Clock::now();
    EXPECT_EQ(library.POS_Open(closed.c_str(), 0, 0, 0, 0, 21), -1);
    EXPECT_LT(Clock::now() - started, 1s);
    const std::string reason = library.failureReason();
    EXPECT_TRUE(reason.starts_with("cannot connect to " + closed + ": ") && reason.ends_with(" (error 10061)")) << reason;
}

TEST(WinsockPort, GivesUpOnAPrinterThatNeverAnswersAtTheDeadline) {
    WinsockListener silent{0};
    silent.fillBacklog();
    NativeLibrary library;
    testing_support::RecordingMessages messages;
    const auto started = Clock::now();
    EXPECT_EQ(press(library, silent.address(), messages), -1);
    const auto waited = Clock::now() - started;
    EXPECT_GE(waited, 2900ms) << "gave up before the deadline";
    EXPECT_LT(waited, 10s) << "hung past the deadline";
    EXPECT_EQ(messages.shown, std::vector<std::u16string>{u"error: Fail to open port,please check!"});
    EXPECT_EQ(library.failureReason(), "cannot connect to " + silent.address() + ": no answer within 3 s (is the printer on?)");
}

TEST(WinsockPort, FailsTheWriteWhenThePrinterResetsMidWay) {
    const WinsockListener printer;
    auto received = std::async(std::launch::async, [&] { return printer.receive(5s, 1024); });
    NativeLibrary library;
    const Bytes large(8 << 20, 0x20);
    const std::int32_t handle = library.POS_Open(printer.address().c_str(), 0, 0, 0, 0, 21);
    ASSERT_NE(handle, -1);
    EXPECT_EQ(library.POS_WriteFile(handle, large.data(), static_cast<std::int32_t>(large.size())), -1);
    EXPECT_TRUE(library.failureReason().starts_with("cannot send to " + printer.address() + ": "))
        << library.failureReason();
    EXPECT_EQ(received.get().size(), 1024u);
}

}  // namespace
}  // namespace setip::native
