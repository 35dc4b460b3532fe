#include "printer/native/native_library.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>

namespace setip::native {
namespace {

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
    EXPECT_EQ(library.POS_Open(row.port.c_str(), 19200, 8, 0, 0, row.openMode), -1);
    const std::string reason = library.failureReason();
    EXPECT_TRUE(reason.starts_with(row.reason) && reason.ends_with(row.number)) << reason;
    EXPECT_EQ(library.POS_Close(), -1) << "nothing was left open";
}

INSTANTIATE_TEST_SUITE_P(Windows, RefusedPort, testing::Values(
    Refusal{"a com port the machine lacks", "COM43", 1, R"(cannot open \\.\COM43: )", "(error 2)"},
    Refusal{"an lpt port the machine lacks", "LPT7", 18, R"(cannot open \\.\LPT7: )", "(error 2)"},
    Refusal{"com0 names no port", "COM0", 1, "\"COM0\" names no port: write COMn or COM: followed by a device path", ""},
    Refusal{"no queue chosen", "", 20, "no printer queue is chosen (is a printer installed?)", ""},
    Refusal{"a queue the spooler lacks", "No Such Queue", 20, "cannot open printer queue \"No Such Queue\": ", "(error 1801)"},
    Refusal{"an open mode the library lacks", "COM1", 99, "open mode 99 is not one this library knows", ""}),
    testing_support::RowName{});

}  // namespace
}  // namespace setip::native
