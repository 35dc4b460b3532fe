#include "printer/native/native_library.h"
#include "printer/press.h"
#include "tests/support/recording_library.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace setip::native {
namespace {

struct Refusal {
    std::string name;
    std::string port;
    std::int32_t openMode;
    std::string reasonStart;  // what the library says before the system's own words
    std::string reasonEnd;    // the system's error number, or the whole rest
};

class RefusedPort : public testing::TestWithParam<Refusal> {};

TEST_P(RefusedPort, OpensNothingAndSaysWhy) {
    const Refusal& row = GetParam();
    NativeLibrary library;
    EXPECT_EQ(library.POS_Open(row.port.c_str(), 19200, 8, 0, 0, row.openMode), -1);
    const std::string reason = library.failureReason();
    EXPECT_TRUE(reason.starts_with(row.reasonStart)) << reason;
    EXPECT_TRUE(reason.ends_with(row.reasonEnd)) << reason;
    EXPECT_EQ(library.POS_Close(), -1) << "nothing was left open";
}

INSTANTIATE_TEST_SUITE_P(Windows, RefusedPort, testing::Values(
    Refusal{"a com port the machine lacks", "COM43", 1, R"(cannot open \\.\COM43: )", "(error 2)"},
    Refusal{"an lpt port the machine lacks", "LPT7", 18, R"(cannot open \\.\LPT7: )", "(error 2)"},
    Refusal{"com0 names no port", "COM0", 1, "\"COM0\" names no port: write COMn or COM: followed by a device path", ""},
    Refusal{"a leading zero names no port", "LPT01", 18, "\"LPT01\" names no port: write LPTn or LPT: ", "path"},
    Refusal{"lpt with an empty path names no port", "LPT:", 18, "\"LPT:\" names no port", "device path"},
    Refusal{"no queue chosen", "", 20, "no printer queue is chosen (is a printer installed?)", ""},
    Refusal{"a queue the spooler lacks", "No Such Queue", 20, "cannot open printer queue \"No Such Queue\": ",
            "(error 1801)"},
    Refusal{"an open mode the library lacks", "COM1", 99, "open mode 99 is not one this library knows", ""}),
    testing_support::RowName{});

// A file stands in for the printer on a parallel port, through the "LPT:" form.
TEST(DevicePort, WritesTheExactCommandToTheDevicePath) {
    const auto path = std::filesystem::temp_directory_path() / ("setip-lpt-" + std::to_string(::GetCurrentProcessId()));
    std::ofstream{path}.close();
    NativeLibrary library;
    testing_support::RecordingMessages messages;
    std::ostringstream diagnostics;

    const WindowInputs inputs{fromUtf8("LPT:" + path.string()), u"", u"", u"19200", u"10.0.0.7"};
    EXPECT_NE(pressSetIp(inputs, library, messages, diagnostics), -1) << library.failureReason();

    std::ifstream written{path, std::ios::binary};
    const std::string bytes{std::istreambuf_iterator<char>{written}, {}};
    written.close();
    std::filesystem::remove(path);
    EXPECT_EQ(bytes, std::string("\x1F\x1B\x1F\x91\x00\x49\x50\x0A\x00\x00\x07", 11));
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace setip::native
