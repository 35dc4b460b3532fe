#include "printer/native/network_address.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>

namespace setip::native {
namespace {

struct Address {
    const char* name;
    std::string text;
    std::optional<NetworkAddress> parsed;
};

void PrintTo(const Address& row, std::ostream* out) { *out << row.name; }

class ParseNetworkAddress : public testing::TestWithParam<Address> {};

TEST_P(ParseNetworkAddress, GivesHostAndPort) { EXPECT_EQ(parseNetworkAddress(GetParam().text), GetParam().parsed); }

INSTANTIATE_TEST_SUITE_P(Rows, ParseNetworkAddress, testing::Values(
    Address{"a bare address uses the raw printing port", "127.0.0.5", NetworkAddress{"127.0.0.5", 9100}},
    Address{"a port after a colon", "127.0.0.5:9101", NetworkAddress{"127.0.0.5", 9101}},
    Address{"blanks and tabs around are ignored", " \t127.0.0.5:9101 ", NetworkAddress{"127.0.0.5", 9101}},
    Address{"a bare ipv6 address has no port", "::1", NetworkAddress{"::1", 9100}},
    Address{"a bracketed ipv6 address", "[::1]", NetworkAddress{"::1", 9100}},
    Address{"a bracketed ipv6 address with a port", "[::1]:9101", NetworkAddress{"::1", 9101}},
    Address{"the empty text", "", std::nullopt},
    Address{"a colon with no port", "127.0.0.5:", std::nullopt},
    Address{"a port with no host", ":9100", std::nullopt},
    Address{"port zero", "h:0", std::nullopt},
    Address{"a port past 65535", "h:65536", std::nullopt},
    Address{"a signed port", "h:+9100", std::nullopt},
    Address{"an unclosed bracket", "[::1:9100", std::nullopt},
    Address{"text after the bracket", "[::1]x", std::nullopt}),
    setip::testing_support::RowName{});

}  // namespace
}  // namespace setip::native
