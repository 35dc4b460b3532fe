#include "printer/native/native_library.h"
#include "printer/native/posix/unique_fd.h"
#include "printer/press.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace setip {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const Bytes defaultCommand{0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 0xC0, 0xA8, 0x7B, 0x64};

class NoMessages final : public OperatorMessages {
public:
    int shown = 0;
    void showError(TextView, TextView) override { ++shown; }
};

// A temporary directory for the stand-in devices, removed with everything in it.
struct TemporaryDirectory {
    fs::path path;
    TemporaryDirectory() {
        std::string pattern = (fs::temp_directory_path() / "setip-device.XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path = pattern;
    }
    ~TemporaryDirectory() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

Bytes drain(int fd) {
    Bytes got;
    pollfd entry{fd, POLLIN, 0};
    while (got.size() < defaultCommand.size() && ::poll(&entry, 1, 5000) > 0) {
        std::uint8_t buffer[64];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        got.insert(got.end(), buffer, buffer + n);
    }
    return got;
}

std::int32_t press(const fs::path& device, std::ostringstream& diagnostics) {
    native::NativeLibrary library;
    NoMessages messages;
    return *pressSetIp({u"LPT:" + fromUtf8(device.string()), u"", u"", u"", u"192.168.123.100"}, library, messages,
                       diagnostics);
}

TEST(DevicePortTest, FifoWithAReaderGetsTheExactCommand) {
    TemporaryDirectory dir;
    const auto fifo = dir.path / "lp0";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const native::UniqueFd reader{::open(fifo.c_str(), O_RDONLY | O_NONBLOCK)};
    std::ostringstream diagnostics;

    EXPECT_NE(press(fifo, diagnostics), failedHandle);
    EXPECT_EQ(drain(reader.get()), defaultCommand);
    EXPECT_EQ(diagnostics.str(), "");
}

TEST(DevicePortTest, PlainFileGetsTheExactCommand) {
    TemporaryDirectory dir;
    const auto file = dir.path / "lp0";
    std::ofstream{file}.close();
    std::ostringstream diagnostics;

    EXPECT_NE(press(file, diagnostics), failedHandle);
    std::ifstream in{file, std::ios::binary};
    EXPECT_EQ(Bytes(std::istreambuf_iterator<char>{in}, {}), defaultCommand);
}

struct MissingDevice {
    const char* name;
    bool makeFifo;
    std::string reason;  // after the device path
};

void PrintTo(const MissingDevice& row, std::ostream* out) { *out << row.name; }

class DeviceRefusedTest : public testing::TestWithParam<MissingDevice> {};

TEST_P(DeviceRefusedTest, GivesMinusOneAndSaysWhyOnce) {
    TemporaryDirectory dir;
    const auto device = dir.path / "lp0";
    if (GetParam().makeFifo) {
        ASSERT_EQ(::mkfifo(device.c_str(), 0600), 0);
    }
    std::ostringstream diagnostics;

    EXPECT_EQ(press(device, diagnostics), failedHandle);
    EXPECT_EQ(diagnostics.str(), "setip: cannot open " + device.string() + GetParam().reason + "\n");
}

INSTANTIATE_TEST_SUITE_P(Devices, DeviceRefusedTest, testing::Values(
    MissingDevice{"missing path", false, ": No such file or directory"},
    MissingDevice{"fifo without a reader", true, ": No such device or address"}),
    testing_support::RowName{});

}  // namespace
}  // namespace setip
