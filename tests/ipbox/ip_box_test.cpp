#include "tests/ipbox/recording_platform.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>

namespace setip {
namespace {

using testing_support::call;
using testing_support::RecordingHost;

// The number of the error an operation raises, or 0; -1 for a 102 without the control's two-line description.
int errorOf(auto&& operation) {
    try {
        operation();
        return 0;
    } catch (const Error& error) {
        const bool described = error.number() != 102 ||
                               error.description() == u"Ip 地址格式错误\r\n正确的格式应该为: 255.255.255.255";
        return described ? error.number() : -1;
    }
}

struct Assignment {
    const char* name;
    Text text;
    Text read;  // what the getter gives afterwards: on an error, the default the field keeps
    int error = 0;
    friend void PrintTo(const Assignment& row, std::ostream* out) { *out << row.name << ": \"" << toUtf8(row.text) << '"'; }
};

class AddressSetter : public testing::TestWithParam<Assignment> {};

TEST_P(AddressSetter, LoadsTheFieldOrRaisesSendingNothing) {
    RecordingHost host;
    host.calls.clear();
    EXPECT_EQ(errorOf([&] { host.box.Address(GetParam().text); }), GetParam().error);
    EXPECT_EQ(host.calls.size(), GetParam().error ? 0u : 1u);
    EXPECT_EQ(host.box.Address(), GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(Rows, AddressSetter, testing::Values(
    Assignment{"blanks around each number and leading zeros", u" 010 . 0 . 0 . 9 ", u"10.0.0.9"},
    Assignment{"a fifth part is ignored", u"1.2.3.4.5", u"1.2.3.4"},
    Assignment{"three parts are too few dots", u"1.2.3", u"192.168.123.100", 102},
    Assignment{"an empty part is no number", u"1..2.3", u"192.168.123.100", 13},
    Assignment{"part 3 is converted first", u"a.b.c.300", u"192.168.123.100", 6},
    Assignment{"U+4E2E counted as a dot leaves part 3 missing", u"1.2.3\u4E2E", u"192.168.123.100", 9}),
    testing_support::RowName{});

struct Counting {
    const char* name;
    Text lzExpr;
    Text nChar;
    std::int16_t count = 0;
    int error = 0;
    friend void PrintTo(const Counting& row, std::ostream* out) {
        *out << row.name << ": \"" << toUtf8(row.lzExpr.substr(0, 40)) << "\" of " << row.lzExpr.size()
             << " characters, nChar \"" << toUtf8(row.nChar) << '"';
    }
};

class CountIF : public testing::TestWithParam<Counting> {};

TEST_P(CountIF, CountsMatchingBytesOrRaises) {
    const auto& row = GetParam();
    std::int16_t count = -1;
    EXPECT_EQ(errorOf([&] { count = RecordingHost{}.box.CountIF(row.lzExpr, row.nChar); }), row.error);
    EXPECT_EQ(count, row.error ? -1 : row.count);
}

// Off Windows the code page is Windows-1252, in which a character with no code matches no byte.
INSTANTIATE_TEST_SUITE_P(Rows, CountIF, testing::Values(
    Counting{"empty text with empty nChar", u"", u"", 0},
    Counting{"text with empty nChar", u"x", u"", 0, 5},
    Counting{"U+4E2E has one dot byte", u"\u4E2E", u".", 1},
    Counting{"U+2E2E has two dot bytes", u"\u2E2E", u".", 2},
    Counting{"Latin-1 keeps its code", u"\u00E9t\u00E9", u"\u00E9", 2},
    Counting{"the euro sign is code 0x80", u"\u0080\u8080", u"\u20AC", 3},
    Counting{"a CJK character has no code", u"\u4E2E.", u"\u4E2E", 0},
    Counting{"16384 characters overflow", Text(16384, u'.'), u".", 0, 6}),
    testing_support::RowName{});

TEST(IpBoxLifecycle, InitialiseLoadsTheDefaultIntoANewField) {
    const RecordingHost host;  // 132.5 x 19.5: halves go to the even neighbour
    EXPECT_EQ(host.calls, (std::vector<std::string>{
                              call("CreateWindowExA", 0x200, "SysIPAddress32", "\"\"", 0x50810000, 0, 0, 132, 20, 3, 0,
                                   0x400000, true),
                              call("SendMessageA", 7, 48, 17, 1),
                              call("SendMessageA", 7, 1125, 0, static_cast<LParam>(0xC0A87B64u))}));
}

TEST(IpBoxLifecycle, ResizeMovesTheFieldOverTheWholeControl) {
    RecordingHost host;
    host.width = 301.5;
    host.height = 26.6;
    host.box.UserControl_Resize();
    EXPECT_EQ(host.calls.back(), call("MoveWindow", 7, 0, 0, 302, 27, true));
}

}  // namespace
}  // namespace setip
