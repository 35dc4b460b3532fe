#include "printer/native/native_library.h"
#include "printer/native/posix/unique_fd.h"
#include "printer/press.h"
#include "tests/support/recording_library.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>

#include <filesystem>
#include <sstream>

namespace setip {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const Text newAddress = u"192.168.123.100";  // the new address defaultCommand carries
const Bytes defaultCommand{0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 0xC0, 0xA8, 0x7B, 0x64};

// What stands in for the printer device.
enum class StandIn { fifoWithReader, plainFile, fifoWithoutReader, nothing };

struct DevicePress {
    const char* name;
    StandIn device;
    std::string diagnostics;  // "%s" stands for the device path; "" when the command arrives
};

void PrintTo(const DevicePress& row, std::ostream* out) { *out << row.name; }

Bytes readAvailable(int fd) {
    Bytes got;
    pollfd entry{fd, POLLIN, 0};
    std::uint8_t buffer[64];
    for (ssize_t n = 0; ::poll(&entry, 1, 1000) > 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
        got.insert(got.end(), buffer, buffer + n);
    }
    return got;
}

class DevicePortTest : public testing::TestWithParam<DevicePress> {};

TEST_P(DevicePortTest, DeliversTheCommandOrSaysWhyNot) {
    const auto& row = GetParam();
    std::string pattern = (fs::temp_directory_path() / "setip-device.XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const std::string device = pattern + "/lp0";
    native::UniqueFd reader;
    if (row.device == StandIn::fifoWithReader || row.device == StandIn::fifoWithoutReader) {
        ASSERT_EQ(::mkfifo(device.c_str(), 0600), 0);
    }
    if (row.device == StandIn::fifoWithReader) reader.reset(::open(device.c_str(), O_RDONLY | O_NONBLOCK));
    if (row.device == StandIn::plainFile) reader.reset(::open(device.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0600));

    native::NativeLibrary library;
    testing_support::RecordingMessages messages;
    std::ostringstream diagnostics;
    const auto handle = pressSetIp({u"LPT:" + fromUtf8(device), u"", u"", u"", newAddress}, library,
                                   messages, diagnostics);
    const Bytes received = reader ? readAvailable(reader.get()) : Bytes{};
    fs::remove_all(pattern);

    if (row.diagnostics.empty()) {
        EXPECT_NE(handle, failedHandle);
        EXPECT_EQ(received, defaultCommand);
        EXPECT_EQ(diagnostics.str(), "");
    } else {
        std::string expected = row.diagnostics;
        expected.replace(expected.find("%s"), 2, device);
        EXPECT_EQ(handle, failedHandle);
        EXPECT_EQ(diagnostics.str(), expected);
        EXPECT_EQ(messages.shown.size(), 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(Devices, DevicePortTest, testing::Values(
    DevicePress{"fifo with a reader gets the exact command", StandIn::fifoWithReader, ""},
    DevicePress{"plain file gets the exact command", StandIn::plainFile, ""},
    DevicePress{"fifo without a reader gives minus one", StandIn::fifoWithoutReader,
                "setip: cannot open %s: No such device or address\n"},
    DevicePress{"missing path gives minus one", StandIn::nothing,
                "setip: cannot open %s: No such file or directory\n"}),
    testing_support::RowName{});

}  // namespace
}  // namespace setip
