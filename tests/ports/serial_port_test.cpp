#include "printer/native/native_library.h"
#include "printer/press.h"
#include "tests/native/loopback_peer.h"
#include "tests/ports/pseudo_terminal.h"
#include "tests/support/recording_library.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>
#include <termios.h>

#include <chrono>
#include <sstream>
#include <thread>

namespace setip {
namespace {

using testing_support::PseudoTerminal;
using Bytes = std::vector<std::uint8_t>;

struct SerialPress {
    const char* name;
    Text newAddress;
    Bytes sent;
};

void PrintTo(const SerialPress& row, std::ostream* out) { *out << row.name; }

class SerialPressTest : public testing::TestWithParam<SerialPress> {};

TEST_P(SerialPressTest, DeliversTheExactCommandToTheFarSide) {
    PseudoTerminal line;
    native::NativeLibrary library;
    testing_support::RecordingMessages messages;
    std::ostringstream diagnostics;

    const auto handle = pressSetIp({line.entry(), u"", u"", u"115200", GetParam().newAddress}, library, messages,
                                   diagnostics);

    EXPECT_NE(handle, failedHandle);
    EXPECT_EQ(line.read(11), GetParam().sent);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(diagnostics.str(), "");
}

// Raw mode matters: 0A, 0D and 11 (XON) must pass through untouched.
INSTANTIATE_TEST_SUITE_P(Serial, SerialPressTest, testing::Values(
    SerialPress{"default new address", u"192.168.123.100",
                {0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 0xC0, 0xA8, 0x7B, 0x64}},
    SerialPress{"new address of line end and flow control bytes passes raw", u"10.13.10.17",
                {0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 0x0A, 0x0D, 0x0A, 0x11}}),
    testing_support::RowName{});

struct LineSetting {
    const char* name;
    std::int32_t baudRate;
    speed_t speed;
};

void PrintTo(const LineSetting& row, std::ostream* out) { *out << row.name; }

class SerialSettingsTest : public testing::TestWithParam<LineSetting> {};

TEST_P(SerialSettingsTest, FarSideSeesRawEightNOneWithoutFlowControl) {
    PseudoTerminal line;
    native::NativeLibrary library;
    ASSERT_NE(library.POS_Open(("COM:" + line.path).c_str(), GetParam().baudRate, 8, 0, 0, 1), failedHandle)
        << library.failureReason();

    termios seen{};
    ASSERT_EQ(::tcgetattr(line.far.get(), &seen), 0);
    EXPECT_EQ(::cfgetospeed(&seen), GetParam().speed);
    EXPECT_EQ(::cfgetispeed(&seen), GetParam().speed);
    EXPECT_EQ(seen.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(seen.c_cflag & (CSTOPB | PARENB | CRTSCTS), 0u);
    EXPECT_EQ(seen.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(seen.c_iflag & (IXON | IXOFF | IXANY | ICRNL | INLCR), 0u);
    EXPECT_EQ(seen.c_oflag & OPOST, 0u);
    EXPECT_EQ(seen.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(library.POS_Close(), 0);
}

INSTANTIATE_TEST_SUITE_P(Serial, SerialSettingsTest, testing::Values(
    LineSetting{"9600 baud", 9600, B9600},
    LineSetting{"19200 baud", 19200, B19200},
    LineSetting{"38400 baud", 38400, B38400},
    LineSetting{"115200 baud", 115200, B115200}),
    testing_support::RowName{});

struct RefusedLine {
    const char* name;
    std::string path;  // "" for the test's pseudo-terminal
    std::int32_t baudRate, dataBits, stopBits, parity;
    std::string reason;  // "%s" stands for the path
};

void PrintTo(const RefusedLine& row, std::ostream* out) { *out << row.name; }

class SerialRefusedTest : public testing::TestWithParam<RefusedLine> {};

TEST_P(SerialRefusedTest, GivesMinusOneAndKeepsTheReason) {
    const auto& row = GetParam();
    PseudoTerminal line;
    const std::string path = row.path.empty() ? line.path : row.path;
    native::NativeLibrary library;
    const auto descriptors = testing_support::openDescriptorCount();

    EXPECT_EQ(library.POS_Open(("COM:" + path).c_str(), row.baudRate, row.dataBits, row.stopBits, row.parity, 1),
              failedHandle);
    EXPECT_EQ(testing_support::openDescriptorCount(), descriptors);

    std::string reason = row.reason;
    reason.replace(reason.find("%s"), 2, path);
    EXPECT_EQ(library.failureReason(), reason);
}

INSTANTIATE_TEST_SUITE_P(Serial, SerialRefusedTest, testing::Values(
    RefusedLine{"missing device", "/dev/setip-no-such-tty", 9600, 8, 0, 0,
                "cannot open %s: No such file or directory"},
    RefusedLine{"not a serial line", "/dev/null", 9600, 8, 0, 0,
                "cannot use %s as a serial port: Inappropriate ioctl for device"},
    RefusedLine{"baud rate no port takes", "", 12345, 8, 0, 0,
                "cannot open %s: 12345 is not a baud rate a serial port takes"},
    RefusedLine{"nine data bits", "", 9600, 9, 0, 0,
                "cannot open %s: 9 data bits is not a setting a serial port takes"},
    RefusedLine{"one and a half stop bits", "", 9600, 8, 1, 0,
                "cannot open %s: stop bits 1 is not a setting this library takes"},
    RefusedLine{"mark parity", "", 9600, 8, 0, 3,
                "cannot open %s: parity 3 is not a setting this library takes"}),
    testing_support::RowName{});

struct StalledLine {
    const char* name;
    bool hangUp;  // the far side goes away during the write; otherwise it just never reads
    std::string reason;
};

void PrintTo(const StalledLine& row, std::ostream* out) { *out << row.name; }

class SerialStalledTest : public testing::TestWithParam<StalledLine> {};

TEST_P(SerialStalledTest, WriteFailsWithinTheWriteDeadline) {
    PseudoTerminal line;
    native::NativeLibrary library;
    const auto handle = library.POS_Open(("COM:" + line.path).c_str(), 115200, 8, 0, 0, 1);
    ASSERT_NE(handle, failedHandle) << library.failureReason();
    std::thread farSide;
    if (GetParam().hangUp) {
        farSide = std::thread{[&line] {
            std::this_thread::sleep_for(std::chrono::milliseconds{200});
            line.far.reset();
        }};
    }
    const Bytes lots(1 << 20, 0x55);  // far more than the line's buffer holds

    const auto started = std::chrono::steady_clock::now();
    const auto written = library.POS_WriteFile(handle, lots.data(), static_cast<std::int32_t>(lots.size()));
    const auto took = std::chrono::steady_clock::now() - started;
    if (farSide.joinable()) farSide.join();

    EXPECT_EQ(written, -1);
    EXPECT_LT(took, std::chrono::seconds{6});
    std::string reason = GetParam().reason;
    reason.replace(reason.find("%s"), 2, line.path);
    EXPECT_EQ(library.failureReason(), reason);
}

INSTANTIATE_TEST_SUITE_P(Serial, SerialStalledTest, testing::Values(
    StalledLine{"far side hangs up", true, "cannot write to %s: Input/output error"},
    StalledLine{"far side never reads", false,
                "cannot write to %s: the device took nothing for 5 s (is the printer offline?)"}),
    testing_support::RowName{});

}  // namespace
}  // namespace setip
