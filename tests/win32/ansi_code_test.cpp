// Runs with a Japanese locale, so that Wine's ANSI code page is 932, which has double-byte characters; in any other
// page the 932 rows fail. UTF-8, the page of Windows' "Use Unicode UTF-8" option, is given by number.
#include "common/win32/wide_text.h"
#include "ipbox/ansi_code.h"
#include "ipbox/win32/ansi_code.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace setip {
namespace {

struct Code {
    std::string name;
    unsigned page;  // CP_ACP, the page CountIF compares in, or a page given by number
    char16_t character;
    std::optional<std::int16_t> code;
    std::optional<std::string> bytes;  // what a vendor library is given in a name, in the ANSI page
    friend void PrintTo(const Code& row, std::ostream* out) {
        *out << row.name << ": U+" << std::hex << std::uppercase << static_cast<unsigned>(row.character) << std::dec
             << " in page " << (row.page == CP_ACP ? "ANSI" : std::to_string(row.page));
    }
};

class AnsiCodePages : public testing::TestWithParam<Code> {};

TEST_P(AnsiCodePages, GiveTheSystemsOwnCodeAndBytesOnlyWhereSixteenBitsHoldIt) {
    const Code& row = GetParam();
    EXPECT_EQ(row.page == CP_ACP ? ansiCodeOf(row.character) : codeInPage(row.page, row.character), row.code);
    if (row.bytes) {
        EXPECT_EQ(ansiFromWide(std::wstring(1, static_cast<wchar_t>(row.character))), *row.bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, AnsiCodePages, testing::Values(
    Code{"a half width katakana is one byte", CP_ACP, u'\uFF71', 0xB1, "\xB1"},
    Code{"a double byte hiragana is negative", CP_ACP, u'\u3042', static_cast<std::int16_t>(0x82A0 - 0x10000),
         "\x82\xA0"},
    Code{"a character the page lacks has none", CP_ACP, u'\u0E01', std::nullopt, "?"},
    Code{"utf8 the dot that addresses are split at", CP_UTF8, u'.', 0x2E, std::nullopt},
    Code{"utf8 a two byte character is negative", CP_UTF8, u'\u00E9', static_cast<std::int16_t>(0xC3A9 - 0x10000),
         std::nullopt},
    Code{"utf8 a three byte character has none", CP_UTF8, u'\u4E2E', std::nullopt, std::nullopt}),
    testing_support::RowName{});

}  // namespace
}  // namespace setip
