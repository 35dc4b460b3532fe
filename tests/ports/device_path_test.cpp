#include "printer/native/posix/device_file.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>

namespace setip::native {
namespace {

struct NamedPort {
    const char* name;
    std::string entry;
    std::string prefix;
    std::string stem;
    std::string path;  // "" when the entry names no port
};

void PrintTo(const NamedPort& row, std::ostream* out) { *out << row.name; }

class DevicePathTest : public testing::TestWithParam<NamedPort> {};

TEST_P(DevicePathTest, MapsTheEntryToItsDevice) {
    const auto& row = GetParam();
    if (row.path.empty()) {
        EXPECT_THROW(devicePathOf(row.entry, row.prefix, row.stem), PortFailure);
    } else {
        EXPECT_EQ(devicePathOf(row.entry, row.prefix, row.stem), row.path);
    }
}

INSTANTIATE_TEST_SUITE_P(Names, DevicePathTest, testing::Values(
    NamedPort{"com1 is the first serial line", "COM1", "COM", "/dev/ttyS", "/dev/ttyS0"},
    NamedPort{"com12 is ttyS11", "COM12", "COM", "/dev/ttyS", "/dev/ttyS11"},
    NamedPort{"com colon path opens that path", "COM:/dev/ttyUSB0", "COM", "/dev/ttyS", "/dev/ttyUSB0"},
    NamedPort{"lpt1 is lp0", "LPT1", "LPT", "/dev/lp", "/dev/lp0"},
    NamedPort{"lpt colon path opens a usb printer", "LPT:/dev/usb/lp0", "LPT", "/dev/lp", "/dev/usb/lp0"},
    NamedPort{"four digits are the most", "COM9999", "COM", "/dev/ttyS", "/dev/ttyS9998"},
    NamedPort{"com0 names no port", "COM0", "COM", "/dev/ttyS", ""},
    NamedPort{"leading zero names no port", "COM01", "COM", "/dev/ttyS", ""},
    NamedPort{"five digits name no port", "COM10000", "COM", "/dev/ttyS", ""},
    NamedPort{"a bare prefix names no port", "COM", "COM", "/dev/ttyS", ""},
    NamedPort{"a word after the prefix names no port", "COMPORT", "COM", "/dev/ttyS", ""},
    NamedPort{"a trailing blank names no port", "COM1 ", "COM", "/dev/ttyS", ""},
    NamedPort{"an empty path names no port", "LPT:", "LPT", "/dev/lp", ""}),
    testing_support::RowName{});

TEST(DevicePathTest, ReasonNamesBothForms) {
    try {
        devicePathOf("COMPORT", "COM", "/dev/ttyS");
        FAIL() << "COMPORT was taken for a port";
    } catch (const PortFailure& failure) {
        EXPECT_STREQ(failure.what(), "\"COMPORT\" names no port: write COMn or COM: followed by a device path");
    }
}

}  // namespace
}  // namespace setip::native
