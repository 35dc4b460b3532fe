#include "printer/native/native_library.h"
#include "tests/support/table.h"
#include "tests/win32/winsock_peer.h"

#include <gtest/gtest.h>

namespace setip::native {
namespace {

using namespace std::chrono_literals;
using testing_support::WinsockListener;

// What it then says is portable, and NetworkPort's deadline case on Linux checks it.
TEST(WinsockPort, GivesUpOnAPrinterThatNeverAnswersAtTheDeadline) {
    WinsockListener silent{0};
    silent.fillBacklog();
    NativeLibrary library;
    const auto started = Clock::now();
    EXPECT_EQ(library.POS_Open(silent.address().c_str(), 0, 0, 0, 0, 21), -1);
    const auto waited = Clock::now() - started;
    EXPECT_GE(waited, 2900ms) << "gave up before the deadline";
    EXPECT_LT(waited, 10s) << "hung past the deadline";
}

struct Refusal {
    std::string name;
    std::string port;
    std::int32_t openMode;
    std::string reason;  // what the library says, up to the system's own words
    std::string number;  // the system's error number, where the system refused
};

class RefusedPort : public testing::TestWithParam<Refusal> {};

TEST_P(RefusedPort, OpensNothingAndSaysWhy) {
    const Refusal& row = GetParam();
    NativeLibrary library;
    const auto started = Clock::now();
    EXPECT_EQ(library.POS_Open(row.port.c_str(), 19200, 8, 0, 0, row.openMode), -1);
    // A refused connect shows only in select's exception set; missed there, it would wait out the connect deadline.
    EXPECT_LT(Clock::now() - started, 1s);
    const std::string reason = library.failureReason();
    EXPECT_TRUE(reason.starts_with(row.reason) && reason.ends_with(row.number)) << reason;
    EXPECT_EQ(library.POS_Close(), -1) << "nothing was left open";
}

INSTANTIATE_TEST_SUITE_P(Windows, RefusedPort, testing::Values(
    Refusal{"a printer that refuses", "127.0.0.1:1", 21, "cannot connect to 127.0.0.1:1: ", "(error 10061)"},
    Refusal{"a com port the machine lacks", "COM43", 1, R"(cannot open \\.\COM43: )", "(error 2)"},
    Refusal{"a regular file is no printer device", R"(LPT:C:\windows\win.ini)", 18,
            R"("C:\windows\win.ini" is not a printer device)", ""},
    Refusal{"com0 is no port", "COM0", 1, "\"COM0\" names no port: write COMn or COM: followed by a device path", ""},
    Refusal{"an unknown queue", "No Such Queue", 20, "cannot open printer queue \"No Such Queue\": ", "(error 1801)"}),
    testing_support::RowName{});

}  // namespace
}  // namespace setip::native
