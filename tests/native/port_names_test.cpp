#include "printer/builtin/device_port.h"
#include "printer/builtin/network_address.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>

#include <functional>

namespace setip::builtin {
namespace {

struct Address {
    const char* name;
    std::string text;
    std::string read;  // "host port", or why the text is refused
};

void PrintTo(const Address& row, std::ostream* out) { *out << row.name << ": \"" << row.text << '"'; }

// What `read` gives, or why the text is refused.
std::string readOrReason(const std::function<std::string()>& read) {
    try {
        return read();
    } catch (const PrinterFailure& refused) {
        return refused.what();
    }
}

std::string readBack(const std::string& text) {
    const NetworkAddress address = parseNetworkAddress(text);
    return address.host + " " + std::to_string(address.port);
}

class ParseNetworkAddress : public testing::TestWithParam<Address> {};

TEST_P(ParseNetworkAddress, GivesHostAndPortOrSaysWhyNot) {
    EXPECT_EQ(readOrReason([&] { return readBack(GetParam().text); }), GetParam().read);
}

const std::string notIpv4 = " is not an IPv4 address: write four decimal numbers from 0 to 255 with dots between them";
const std::string notAnAddress = " is not a printer address (host or host:port)";

INSTANTIATE_TEST_SUITE_P(Rows, ParseNetworkAddress, testing::Values(
    Address{"a bare address uses the raw printing port", "127.0.0.5", "127.0.0.5 9100"},
    Address{"a port after a colon, up to 65535", "127.0.0.5:65535", "127.0.0.5 65535"},
    Address{"blanks and tabs around are ignored", " \t127.0.0.5:9101 ", "127.0.0.5 9101"},
    Address{"leading zeros are decimal as in the new address", "0127.000.0255.010:9101", "127.0.255.10 9101"},
    Address{"a name is left to the resolver", "printer-7.example", "printer-7.example 9100"},
    Address{"a bare ipv6 address has no port", "::1", "::1 9100"},
    Address{"a bracketed ipv6 address with a port", "[::1]:9101", "::1 9101"},
    Address{"fewer than four parts are refused", "127.1:9100", "\"127.1\"" + notIpv4},
    Address{"five parts are refused", "127.0.0.1.5", "\"127.0.0.1.5\"" + notIpv4},
    Address{"a part over 255 is refused", "127.0.0.256", "\"127.0.0.256\"" + notIpv4},
    Address{"a part of ten digits is refused", "127.0.0.4294967297", "\"127.0.0.4294967297\"" + notIpv4},
    Address{"an empty part is refused", "127.0..1", "\"127.0..1\"" + notIpv4},
    Address{"hexadecimal parts are refused", "0x7f.0.0.0X1", "\"0x7f.0.0.0X1\"" + notIpv4},
    Address{"the empty text", "", "\"\"" + notAnAddress},
    Address{"a colon with no port", "127.0.0.5:", "\"127.0.0.5:\"" + notAnAddress},
    Address{"a bracket and a colon with no port", "[::1]:", "\"[::1]:\"" + notAnAddress},
    Address{"a port with no host", ":9100", "\":9100\"" + notAnAddress},
    Address{"port zero", "h:0", "\"h:0\"" + notAnAddress},
    Address{"a port past 65535", "h:65536", "\"h:65536\"" + notAnAddress},
    Address{"a signed port", "h:+9100", "\"h:+9100\"" + notAnAddress},
    Address{"an unclosed bracket", "[::1:9100", "\"[::1:9100\"" + notAnAddress},
    Address{"text after the bracket", "[::1]x", "\"[::1]x\"" + notAnAddress}),
    setip::testing_support::RowName{});

struct DeviceNameRow {
    const char* name;
    std::string text;
    std::string prefix;
    std::string read;  // the device path; empty when the name is neither form
};

void PrintTo(const DeviceNameRow& row, std::ostream* out) { *out << row.name << ": \"" << row.text << '"'; }

class DevicePathOf : public testing::TestWithParam<DeviceNameRow> {};

TEST_P(DevicePathOf, GivesTheDevicePathOrNamesBothForms) {
    const auto& [name, text, prefix, read] = GetParam();
    const std::string refused = "\"" + text + "\" names no port: write " + prefix + "n or " + prefix +
                                ": followed by a device path";
    EXPECT_EQ(readOrReason([&] { return devicePathOf(text, prefix); }), read.empty() ? refused : read);
}

INSTANTIATE_TEST_SUITE_P(Rows, DevicePathOf, testing::Values(
    DeviceNameRow{"a number after the prefix", "COM1", "COM", numberedDevicePath("COM", 1)},
    DeviceNameRow{"numbers past the list", "LPT9999", "LPT", numberedDevicePath("LPT", 9999)},
    DeviceNameRow{"a path after a colon", "COM:/dev/ttyUSB0", "COM", "/dev/ttyUSB0"},
    DeviceNameRow{"a leading zero is no number", "COM01", "COM", ""},
    DeviceNameRow{"port zero", "COM0", "COM", ""},
    DeviceNameRow{"five digits", "COM10000", "COM", ""},
    DeviceNameRow{"a colon with no path", "LPT:", "LPT", ""},
    DeviceNameRow{"text after the number", "COM1x", "COM", ""},
    DeviceNameRow{"a sign is no number", "COM+1", "COM", ""},
    DeviceNameRow{"no number", "COM", "COM", ""},
    DeviceNameRow{"the other kind's prefix", "LPT1", "COM", ""},
    DeviceNameRow{"lower case", "com1", "COM", ""}),
    setip::testing_support::RowName{});

// A range to scan: "range count first-last" as the scan would try it, or why the text is refused.
std::string rangeReadBack(const std::string& text) {
    const AddressRange range = parseAddressRange(text);
    const auto hosts = range.hosts();
    return range.text() + " " + std::to_string(range.hostCount()) + " " + dottedQuad(hosts.front()) + "-" +
           dottedQuad(hosts.back());
}

class ParseAddressRange : public testing::TestWithParam<Address> {};

TEST_P(ParseAddressRange, GivesTheAddressesToTryOrSaysWhyNot) {
    EXPECT_EQ(readOrReason([&] { return rangeReadBack(GetParam().text); }), GetParam().read);
}

const std::string notARange = " is not an address range: write an address and a prefix length from 0 to 32, such as "
                              "192.168.1.0/24";

INSTANTIATE_TEST_SUITE_P(Rows, ParseAddressRange, testing::Values(
    Address{"a network leaves out its own and its broadcast address", "127.0.0.0/24",
            "127.0.0.0/24 254 127.0.0.1-127.0.0.254"},
    Address{"bits after the prefix are dropped", "127.0.0.77/28", "127.0.0.64/28 14 127.0.0.65-127.0.0.78"},
    Address{"a /31 has no broadcast address, so both are tried", "127.0.0.4/31", "127.0.0.4/31 2 127.0.0.4-127.0.0.5"},
    Address{"one address is a range of one", "127.0.0.5", "127.0.0.5 1 127.0.0.5-127.0.0.5"},
    Address{"leading zeros are decimal and blanks around are ignored", " 127.000.0.010/32\t",
            "127.0.0.10 1 127.0.0.10-127.0.0.10"},
    Address{"a /16 crosses the third part", "127.7.0.0/16", "127.7.0.0/16 65534 127.7.0.1-127.7.255.254"},
    Address{"a prefix past 32 is refused", "127.0.0.0/33", "\"127.0.0.0/33\"" + notARange},
    Address{"an empty prefix is refused", "127.0.0.0/", "\"127.0.0.0/\"" + notARange},
    Address{"a signed prefix is refused", "127.0.0.0/+8", "\"127.0.0.0/+8\"" + notARange},
    Address{"a name is refused, since a scan looks nothing up", "printer-7.example/24",
            "\"printer-7.example\"" + notIpv4},
    Address{"fewer than four parts are refused", "127.1/24", "\"127.1\"" + notIpv4}),
    setip::testing_support::RowName{});

}  // namespace
}  // namespace setip::builtin
