#include "printer/native/native_library.h"
#include "tests/native/loopback_peer.h"
#include "tests/support/recording_library.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <sstream>
#include <thread>

namespace setip::native {
namespace {

using namespace std::chrono_literals;
using testing_support::Bytes;
using testing_support::LoopbackPrinter;

const Bytes command192{0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 0xC0, 0xA8, 0x7B, 0x64};

// A resolver that knows no name at all, and counts how often it was asked.
class UnknownNames final : public NameResolver {
public:
    mutable std::atomic<int> asked{0};
    std::vector<std::string> lookUp(const std::string& host, Deadline) const override {
        ++asked;
        throw PortFailure("cannot look up " + host + ": Name or service not known");
    }
};

// One press of "Set IP" with ETHERNET, the given present address and the default new address.
struct NetworkPress {
    NativeLibrary library;
    testing_support::RecordingMessages messages;

    explicit NetworkPress(std::shared_ptr<const NameResolver> resolver = systemResolver()) : library(resolver) {}
    std::optional<std::int32_t> operator()(const std::string& present) {
        std::ostringstream diagnostics;
        return pressSetIp({u"ETHERNET", fromUtf8(present), u"", u"19200", u"192.168.123.100"}, library, messages,
                          diagnostics);
    }
    std::int32_t open(const std::string& name) { return library.POS_Open(name.c_str(), 0, 0, 0, 0, 21); }
};

TEST(NetworkPort, FailsAtOnceWhenRefusedUnknownOrMalformedAndNeverLooksUpANumber) {
    const auto refusing = testing_support::refusingAddress();
    auto resolver = std::make_shared<UnknownNames>();
    NetworkPress press{resolver};

    const auto started = Clock::now();
    EXPECT_EQ(press.open(refusing), -1);
    EXPECT_EQ(press.library.failureReason(), "cannot connect to " + refusing + ": Connection refused");
    press.open("[::1]" + refusing.substr(refusing.find(':')));  // refused or unreachable; either way no name
    EXPECT_EQ(press.open("printer.invalid:9100"), -1);
    EXPECT_EQ(press.library.failureReason(), "cannot look up printer.invalid: Name or service not known");
    EXPECT_EQ(press.open("127.0.0.1:http"), -1);
    EXPECT_EQ(press.library.failureReason(), "\"127.0.0.1:http\" is not a printer address (host or host:port)");
    EXPECT_LT(Clock::now() - started, 1s);
    EXPECT_EQ(resolver->asked, 1) << "only printer.invalid is a name";
}

TEST(NetworkPort, GivesUpOnAPrinterThatNeverAnswersAtTheDeadline) {
    const testing_support::FullBacklog silent;
    NetworkPress press;

    const auto started = Clock::now();
    EXPECT_EQ(press(silent.address()), -1);
    EXPECT_GE(Clock::now() - started, 2900ms) << "gave up before the deadline";
    EXPECT_LT(Clock::now() - started, 10s) << "hung past the deadline";
    EXPECT_EQ(press.messages.shown, std::vector<std::u16string>{u"error: Fail to open port,please check!"});
    EXPECT_EQ(press.library.failureReason(),
              "cannot connect to " + silent.address() + ": no answer within 3 s (is the printer on?)");
}

// The printer goes away with the send's bytes unread, so its side resets the connection.
TEST(NetworkPort, FailsTheWriteWhenThePrinterResetsMidWay) {
    std::optional<LoopbackPrinter> printer{std::in_place};
    const std::string address = printer->address();
    NetworkPress press;
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

TEST(NetworkPort, ReopeningClosesTheCurrentPortAndAStaleHandleWritesNothing) {
    LoopbackPrinter first;
    LoopbackPrinter second;
    NetworkPress press;

    const std::int32_t stale = press.open(first.address());
    const std::int32_t current = press.open(second.address());
    EXPECT_EQ(first.connections(1).size(), 1u);
    EXPECT_EQ(press.library.POS_WriteFile(stale, command192.data(), 11), -1);
    EXPECT_EQ(press.library.POS_WriteFile(current, command192.data(), 11), 11);
    EXPECT_EQ(press.library.POS_Close(), 0);
    EXPECT_EQ(press.library.POS_Close(), -1) << "nothing left to close";
    EXPECT_EQ(second.connections(1), std::vector<Bytes>{command192});
}

// Typed as it stands, with blanks around it and by name, the printer gets the exact command each time.
TEST(NetworkPort, DeliversTheExactCommandAsTypedAndLeavesNoDescriptorOpenAfterAThousandPresses) {
    LoopbackPrinter printer;
    const auto refusing = testing_support::refusingAddress();
    const std::string typed[] = {printer.address(), "  " + printer.address() + " ",
                                 "localhost" + printer.address().substr(printer.address().find(':'))};
    const std::size_t before = testing_support::openDescriptorCount();
    {
        NetworkPress press;
        for (int i = 0; i < 999; ++i) press(typed[i % 3]);
        for (int i = 0; i < 50; ++i) press(refusing);
        EXPECT_NE(press.open(printer.address()), -1) << "left open for the library to close";
        EXPECT_EQ(press.messages.shown.size(), 50u) << "only the refusals are told";
    }
    EXPECT_EQ(testing_support::openDescriptorCount(), before);
    std::vector<Bytes> sent(999, command192);
    sent.emplace_back();
    EXPECT_EQ(printer.connections(1000), sent);
}

}  // namespace
}  // namespace setip::native
