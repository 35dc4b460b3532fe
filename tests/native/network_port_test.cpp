#include "printer/native/native_library.h"
#include "printer/press.h"
#include "tests/native/loopback_peer.h"
#include "tests/support/recording_library.h"

#include <gtest/gtest.h>

#include <atomic>
#include <sstream>

namespace setip::native {
namespace {

using namespace std::chrono_literals;
using testing_support::Bytes;
using testing_support::LoopbackPrinter;
using testing_support::PeerBehaviour;

const Bytes command192{0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 0xC0, 0xA8, 0x7B, 0x64};

// Answers like a resolver that knows no name at all, and counts how often it was asked.
class UnknownNames final : public NameResolver {
public:
    mutable std::atomic<int> asked{0};
    std::vector<std::string> lookUp(const std::string& host, Deadline) const override {
        ++asked;
        throw PortFailure("cannot look up " + host + ": Name or service not known");
    }
};

std::optional<std::int32_t> press(PrinterLibrary& library, const std::string& printer,
                                  testing_support::RecordingMessages& messages) {
    std::ostringstream diagnostics;
    const WindowInputs inputs{u"ETHERNET", fromUtf8(printer), u"", u"19200", u"192.168.123.100"};
    return pressSetIp(inputs, library, messages, diagnostics);
}

std::int32_t openNetwork(NativeLibrary& library, const std::string& name) {
    return library.POS_Open(name.c_str(), 0, 0, 0, 0, 21);
}

TEST(NetworkPort, DeliversTheExactCommandForTheNewAddress) {
    LoopbackPrinter printer;
    NativeLibrary library;
    testing_support::RecordingMessages messages;

    EXPECT_NE(press(library, printer.address(), messages), -1);

    EXPECT_EQ(printer.connections(1), std::vector<Bytes>{command192});
    EXPECT_TRUE(messages.shown.empty());
}

TEST(NetworkPort, TakesTheAddressAsTypedWithBlanksAroundAndAHostName) {
    LoopbackPrinter printer;
    NativeLibrary library;
    testing_support::RecordingMessages messages;
    const auto port = printer.address().substr(printer.address().find(':'));

    press(library, "  " + printer.address() + " ", messages);
    press(library, "localhost" + port, messages);

    EXPECT_EQ(printer.connections(2), (std::vector<Bytes>{command192, command192}));
    EXPECT_TRUE(messages.shown.empty());
}

TEST(NetworkPort, NeverLooksUpANumericAddress) {
    LoopbackPrinter printer;
    auto resolver = std::make_shared<UnknownNames>();
    NativeLibrary library{resolver};
    const auto port = printer.address().substr(printer.address().find(':'));

    EXPECT_NE(openNetwork(library, printer.address()), -1);
    openNetwork(library, "[::1]" + port);  // refused or unreachable; either way it is no name
    EXPECT_EQ(resolver->asked, 0);
}

TEST(NetworkPort, FailsAtOnceWhenRefusedOrUnknown) {
    std::string closed;
    {
        const testing_support::LoopbackListener gone;
        closed = gone.address();
    }
    auto resolver = std::make_shared<UnknownNames>();
    NativeLibrary library{resolver};

    const auto started = Clock::now();
    EXPECT_EQ(openNetwork(library, closed), -1);
    EXPECT_EQ(library.failureReason(), "cannot connect to " + closed + ": Connection refused");
    EXPECT_EQ(openNetwork(library, "printer.invalid:9100"), -1);
    EXPECT_EQ(library.failureReason(), "cannot look up printer.invalid: Name or service not known");
    EXPECT_EQ(openNetwork(library, "127.0.0.1:http"), -1);
    EXPECT_EQ(library.failureReason(), "\"127.0.0.1:http\" is not a printer address (host or host:port)");
    EXPECT_LT(Clock::now() - started, 1s);
    EXPECT_EQ(resolver->asked, 1);
}

TEST(NetworkPort, GivesUpOnAPrinterThatNeverAnswersAtTheDeadline) {
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

TEST(NetworkPort, FailsTheWriteWhenThePrinterResetsMidWay) {
    LoopbackPrinter printer{PeerBehaviour::resetAfterOneKiB};
    NativeLibrary library;
    const Bytes large(8 << 20, 0x20);

    const std::int32_t handle = openNetwork(library, printer.address());
    ASSERT_NE(handle, -1);
    EXPECT_EQ(library.POS_WriteFile(handle, large.data(), static_cast<std::int32_t>(large.size())), -1);
    EXPECT_NE(library.failureReason().find("cannot send to " + printer.address()), std::string::npos)
        << library.failureReason();
    library.POS_Close();
    EXPECT_EQ(printer.connections(1).at(0).size(), 1024u);
}

TEST(NetworkPort, LeavesNoDescriptorOpenAfterAThousandPresses) {
    LoopbackPrinter printer;
    std::string closed;
    {
        const testing_support::LoopbackListener gone;
        closed = gone.address();
    }
    testing_support::RecordingMessages messages;
    const std::size_t before = testing_support::openDescriptorCount();
    {
        NativeLibrary library;
        for (int i = 0; i < 1000; ++i) press(library, printer.address(), messages);
        for (int i = 0; i < 50; ++i) press(library, closed, messages);
        EXPECT_NE(openNetwork(library, printer.address()), -1) << "left open for the library to close";
    }
    EXPECT_EQ(testing_support::openDescriptorCount(), before);
    EXPECT_EQ(printer.connections(1001).size(), 1001u);
    EXPECT_EQ(messages.shown.size(), 50u);
}

TEST(NetworkPort, ReopeningClosesTheCurrentPortFirst) {
    LoopbackPrinter first;
    LoopbackPrinter second;
    NativeLibrary library;

    const std::int32_t stale = openNetwork(library, first.address());
    const std::int32_t current = openNetwork(library, second.address());
    EXPECT_EQ(first.connections(1).size(), 1u) << "the first port was closed by the second open";
    EXPECT_NE(stale, current);
    EXPECT_EQ(library.POS_WriteFile(stale, command192.data(), 11), -1) << "a stale handle writes nothing";
    EXPECT_EQ(library.POS_WriteFile(current, command192.data(), 11), 11);
    EXPECT_EQ(library.POS_Close(), 0);
    EXPECT_EQ(library.POS_Close(), -1) << "nothing left to close";
    EXPECT_EQ(second.connections(1), std::vector<Bytes>{command192});
}

}  // namespace
}  // namespace setip::native
