// Runs with a Japanese locale, so that Wine's ANSI code page is 932, which has double-byte characters. UTF-8, the
// page of Windows' "Use Unicode UTF-8" option, is given by number.
#include "common/library_name.h"
#include "ipbox/ansi_code.h"
#include "ipbox/win32/code_page.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace setip {
namespace {

struct Code {
    std::string name;
    char16_t character;
    std::optional<std::int16_t> code;  // what CountIF compares
    std::string bytes;                 // what the printer library is given in a name
};

class AnsiCodePage932 : public testing::TestWithParam<Code> {};

TEST_P(AnsiCodePage932, GivesTheSystemsOwnCodeAndBytes) {
    ASSERT_EQ(::GetACP(), 932u) << "the test runs with LANG=ja_JP.UTF-8";
    EXPECT_EQ(ansiCodeOf(GetParam().character), GetParam().code);
    EXPECT_EQ(toLibraryName(Text(1, GetParam().character)), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(Rows, AnsiCodePage932, testing::Values(
    Code{"a half width katakana is one byte", u'\uFF71', 0xB1, "\xB1"},
    Code{"a double byte hiragana is negative", u'\u3042', static_cast<std::int16_t>(0x82A0 - 0x10000), "\x82\xA0"},
    Code{"a character the page lacks has none", u'\u0E01', std::nullopt, "?"}),
    testing_support::RowName{});

struct PageCode {
    std::string name;
    char16_t character;
    std::optional<std::int16_t> code;
};

class AnsiCodePage65001 : public testing::TestWithParam<PageCode> {};

TEST_P(AnsiCodePage65001, GivesACodeOnlyWhereSixteenBitsHoldIt) {
    EXPECT_EQ(codeInPage(CP_UTF8, GetParam().character), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Rows, AnsiCodePage65001, testing::Values(
    PageCode{"the dot that addresses are split at", u'.', 0x2E},
    PageCode{"a two byte character is negative", u'\u00E9', static_cast<std::int16_t>(0xC3A9 - 0x10000)},
    PageCode{"a three byte character has none", u'\u4E2E', std::nullopt},
    PageCode{"a lone surrogate has none", u'\xD800', std::nullopt}),
    testing_support::RowName{});

}  // namespace
}  // namespace setip
