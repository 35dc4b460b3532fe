#include "common/error.h"
#include "common/number.h"

#include "tests/support/table.h"

#include <gtest/gtest.h>

#include <optional>

namespace setip {
namespace {

struct Conversion {
    const char* name;
    Text text;
    std::optional<std::int32_t> value;  // empty when the conversion raises
    int error = 0;
};

void PrintTo(const Conversion& row, std::ostream* out) { *out << row.name; }

class ToInteger16 : public testing::TestWithParam<Conversion> {};

TEST_P(ToInteger16, ConvertsOrRaises) {
    const auto& row = GetParam();
    if (row.value) {
        EXPECT_EQ(toInteger16(row.text), *row.value);
    } else {
        try {
            toInteger16(row.text);
            FAIL() << "no error raised";
        } catch (const Error& error) {
            EXPECT_EQ(error.number(), row.error);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ToInteger16, testing::Values(
    Conversion{"plain digits", u"192", 192},
    Conversion{"leading zeros", u"010", 10},
    Conversion{"blanks around", u"  7 ", 7},
    Conversion{"explicit plus", u"+5", 5},
    Conversion{"negative", u"-1", -1},
    Conversion{"largest", u"32767", 32767},
    Conversion{"smallest", u"-32768", -32768},
    Conversion{"one past largest overflows", u"32768", std::nullopt, 6},
    Conversion{"a long run of digits overflows", u"99999999999999999999999", std::nullopt, 6},
    Conversion{"empty text is no number", u"", std::nullopt, 13},
    Conversion{"blanks only are no number", u"   ", std::nullopt, 13},
    Conversion{"a lone sign is no number", u"-", std::nullopt, 13},
    Conversion{"a letter is no number", u"x", std::nullopt, 13},
    Conversion{"a tab is not a blank", u"\t5", std::nullopt, 13},
    Conversion{"a blank inside is no number", u"1 2", std::nullopt, 13},
    Conversion{"a hex prefix is not taken", u"0x1F", std::nullopt, 13},
    Conversion{"fullwidth digits are not digits", u"\uFF11", std::nullopt, 13}),
    testing_support::RowName{});

TEST(ToInteger32, TakesTheBaudRates) {
    EXPECT_EQ(toInteger32(u"115200"), 115200);
    EXPECT_EQ(toInteger32(u"-2147483648"), -2147483647 - 1);
    EXPECT_THROW(toInteger32(u"2147483648"), Error);
}

TEST(NarrowToByte, KeepsZeroTo255AndOverflowsOutside) {
    EXPECT_EQ(narrowToByte(0), 0);
    EXPECT_EQ(narrowToByte(255), 255);
    for (const std::int32_t outside : {-1, 256, -32768}) {
        try {
            narrowToByte(outside);
            ADD_FAILURE() << outside << " narrowed";
        } catch (const Error& error) {
            EXPECT_EQ(error.number(), 6) << outside;
        }
    }
}

}  // namespace
}  // namespace setip
