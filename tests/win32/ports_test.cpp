#include "printer/builtin/builtin_library.h"
#include "tests/native/silent_listeners.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>

namespace setip::builtin {
namespace {

using namespace std::chrono_literals;

// What it then says is portable, and NetworkPort's deadline case on Linux checks it.
TEST(WinsockPort, GivesUpOnAPrinterThatNeverAnswersAtTheDeadline) {
    const testing_support::SilentListeners silent;
    BuiltinLibrary library;
    const auto started = Clock::now();
    EXPECT_THROW(library.open(PortKind::network, fromUtf8(silent.address()), {}), PrinterFailure);
    const auto waited = Clock::now() - started;
    EXPECT_GE(waited, 2900ms) << "gave up before the deadline";
    EXPECT_LT(waited, 10s) << "hung past the deadline";
}

struct Refusal {
    std::string name;
    Text port;
    PortKind kind;
    std::string reason;  // what the library says, up to the system's own words
    std::string number;  // the system's error number, where the system refused
    friend void PrintTo(const Refusal& row, std::ostream* out) { *out << row.name << ": " << toUtf8(row.port); }
};

class RefusedPort : public testing::TestWithParam<Refusal> {};

TEST_P(RefusedPort, OpensNothingAndSaysWhy) {
    const Refusal& row = GetParam();
    BuiltinLibrary library;
    const auto started = Clock::now();
    std::string reason;
    try {
        library.open(row.kind, row.port, {19200, 8, 0, 0});
    } catch (const PrinterFailure& refused) {
        reason = refused.what();
    }
    // A refused connect shows only in select's exception set; missed there, it would wait out the connect deadline.
    EXPECT_LT(Clock::now() - started, 1s);
    EXPECT_TRUE(reason.starts_with(row.reason) && reason.ends_with(row.number)) << reason;
    EXPECT_THROW(library.startDoc(), PrinterFailure) << "nothing was left open";
}

INSTANTIATE_TEST_SUITE_P(Windows, RefusedPort, testing::Values(
    Refusal{"a printer that refuses", u"127.0.0.1:1", PortKind::network, "cannot connect to 127.0.0.1:1: ",
            "(error 10061)"},
    Refusal{"a com port the machine lacks", u"COM43", PortKind::serial, R"(cannot open \\.\COM43: )", "(error 2)"},
    Refusal{"a regular file is no printer device", u"LPT:C:\\windows\\win.ini", PortKind::parallel,
            R"("C:\windows\win.ini" is not a printer device)", ""},
    Refusal{"com0 is no port", u"COM0", PortKind::serial,
            "\"COM0\" names no port: write COMn or COM: followed by a device path", ""},
    Refusal{"an unknown queue", u"No Such Queue", PortKind::driver, "cannot open printer queue \"No Such Queue\": ",
            "(error 1801)"}),
    testing_support::RowName{});

}  // namespace
}  // namespace setip::builtin
