#include "common/error.h"
#include "printer/set_address_command.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>

namespace setip {
namespace {

struct NewAddress {
    const char* name;
    Text text;
    Octets octets;  // when parsing gives them
    int error = 0;
};

void PrintTo(const NewAddress& row, std::ostream* out) { *out << row.name; }

class ParseNewAddress : public testing::TestWithParam<NewAddress> {};

TEST_P(ParseNewAddress, GivesOctetsOrRaises) {
    const auto& row = GetParam();
    int error = 0;
    try {
        EXPECT_EQ(parseNewAddress(row.text), row.octets);
    } catch (const Error& raised) {
        error = raised.number();
    }
    EXPECT_EQ(error, row.error);
}

INSTANTIATE_TEST_SUITE_P(Rows, ParseNewAddress, testing::Values(
    NewAddress{"the default address", u"192.168.123.100", Octets{192, 168, 123, 100}},
    NewAddress{"spaces around the text and each part and leading zeros", u"  010 . 0. 0 .007 ", Octets{10, 0, 0, 7}},
    NewAddress{"a fifth part is ignored even if it is no number", u"10.1.2.3.x", Octets{10, 1, 2, 3}},
    NewAddress{"three parts miss the fourth", u"10.1.2", Octets{}, 9},
    NewAddress{"blanks alone have no parts", u"    ", Octets{}, 9},
    NewAddress{"a trailing dot leaves the fourth part empty", u"1.2.3.", Octets{}, 13},
    NewAddress{"a part past 255 overflows", u"10.1.2.256", Octets{}, 6},
    NewAddress{"a long run of digits overflows", u"10.1.2.99999999999999999999", Octets{}, 6},
    NewAddress{"a negative part overflows", u"10.-1.2.3", Octets{}, 6},
    NewAddress{"a lone sign is no number", u"-.1.2.3", Octets{}, 13},
    NewAddress{"an empty part is no number", u"1..2.3", Octets{}, 13},
    NewAddress{"tabs are not trimmed", u"\t10.0.0.7", Octets{}, 13},
    NewAddress{"the first bad part decides and a letter is no number", u"10.x.300.3", Octets{}, 13}),
    testing_support::RowName{});

}  // namespace
}  // namespace setip
