#include "common/error.h"
#include "printer/set_address_command.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>

#include <optional>

namespace setip {
namespace {

struct NewAddress {
    const char* name;
    Text text;
    std::optional<Octets> octets;  // empty when parsing raises
    int error = 0;
};

void PrintTo(const NewAddress& row, std::ostream* out) { *out << row.name; }

class ParseNewAddress : public testing::TestWithParam<NewAddress> {};

TEST_P(ParseNewAddress, GivesOctetsOrRaises) {
    const auto& row = GetParam();
    if (row.octets) {
        EXPECT_EQ(parseNewAddress(row.text), *row.octets);
        return;
    }
    try {
        parseNewAddress(row.text);
        FAIL() << "parsed";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), row.error);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ParseNewAddress, testing::Values(
    NewAddress{"the default address", u"192.168.123.100", Octets{192, 168, 123, 100}},
    NewAddress{"spaces around the text", u"   10.0.0.7 ", Octets{10, 0, 0, 7}},
    NewAddress{"spaces around each part", u"10 . 0. 0 .7", Octets{10, 0, 0, 7}},
    NewAddress{"leading zeros", u"010.001.000.009", Octets{10, 1, 0, 9}},
    NewAddress{"a fifth part is ignored even if it is no number", u"10.1.2.3.x", Octets{10, 1, 2, 3}},
    NewAddress{"three parts miss the fourth", u"10.1.2", std::nullopt, 9},
    NewAddress{"the empty text has no parts", u"", std::nullopt, 9},
    NewAddress{"a part past 255 overflows", u"10.1.2.256", std::nullopt, 6},
    NewAddress{"a long run of digits overflows", u"10.1.2.99999999999999999999", std::nullopt, 6},
    NewAddress{"a negative part overflows", u"10.-1.2.3", std::nullopt, 6},
    NewAddress{"a letter is no number", u"10.1.x.3", std::nullopt, 13},
    NewAddress{"a lone sign is no number", u"-.1.2.3", std::nullopt, 13},
    NewAddress{"a hex prefix is not taken", u"0x1F.1.2.3", std::nullopt, 13},
    NewAddress{"an empty part is no number", u"1..2.3", std::nullopt, 13},
    NewAddress{"tabs are not trimmed", u"\t10.0.0.7", std::nullopt, 13},
    NewAddress{"the first bad part decides", u"10.x.300.3", std::nullopt, 13}),
    testing_support::RowName{});

TEST(SetAddressCommand, IsTheSevenFixedBytesThenTheOctetsInTextOrder) {
    EXPECT_EQ(setAddressCommand({192, 168, 123, 100}),
              (SetAddressCommand{0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 0xC0, 0xA8, 0x7B, 0x64}));
}

}  // namespace
}  // namespace setip
