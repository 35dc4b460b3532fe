#include "common/error.h"
#include "ipbox/ip_box.h"
#include "tests/ipbox/recording_platform.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>

namespace setip {
namespace {

using testing_support::call;
using Calls = std::vector<std::string>;

// The number of the error an operation raises, or 0.
int errorOf(auto&& operation) {
    try {
        operation();
    } catch (const Error& error) {
        return error.number();
    }
    return 0;
}

std::string creation(std::int32_t width, std::int32_t height) {
    return call("CreateWindowExA", 0x200, "SysIPAddress32", "\"\"", 0x50810000, 0, 0, width, height, 3, 0, 0x400000,
                true);
}

// A box after initialise, on field 7 unless creation is to fail; `initialise` keeps the calls initialise made.
struct Box {
    testing_support::FakeHost host;
    testing_support::RecordingPlatform platform;
    ipBox box{host, platform};
    Calls initialise;
    explicit Box(WindowHandle field = 7) {
        platform.nextWindow = field;
        box.UserControl_Initialize();
        initialise = std::exchange(platform.calls, {});
    }
};

struct Assignment {
    const char* name;
    Text text;
    std::uint32_t packed = 0;
    Text read;  // what the getter gives afterwards
    int error = 0;
};

class AddressSetter : public testing::TestWithParam<Assignment> {};

TEST_P(AddressSetter, SendsThePackedValueOrRaisesSendingNothing) {
    const auto& row = GetParam();
    Box box;
    EXPECT_EQ(errorOf([&] { box.box.Address(row.text); }), row.error);
    EXPECT_EQ(box.platform.calls, row.error ? Calls{} : Calls{call("SendMessageA", 7, 1125, 0, row.packed)});
    EXPECT_EQ(box.box.Address(), row.error ? u"192.168.123.100" : row.read);
}

INSTANTIATE_TEST_SUITE_P(Rows, AddressSetter, testing::Values(
    Assignment{"default as the value itself", u"192.168.123.100", 0xC0A87B64, u"192.168.123.100"},
    Assignment{"leading zeros", u"010.001.000.009", 0x0A010009, u"10.1.0.9"},
    Assignment{"a fifth part is ignored", u"1.2.3.4.5", 0x01020304, u"1.2.3.4"},
    Assignment{"a trailing dot is ignored", u"1.2.3.4.", 0x01020304, u"1.2.3.4"},
    Assignment{"blanks around each number", u" 10 . 0 . 0 . 1 ", 0x0A000001, u"10.0.0.1"},
    Assignment{"zeros", u"0.0.0.0", 0, u"0.0.0.0"},
    Assignment{"three parts are too few dots", u"1.2.3", 0, u"", 102},
    Assignment{"no dots", u"1234", 0, u"", 102},
    Assignment{"empty text", u"", 0, u"", 102},
    Assignment{"an empty part is no number", u"1..2.3", 0, u"", 13},
    Assignment{"a blank part is no number", u"1.2.3. ", 0, u"", 13},
    Assignment{"part 3 is converted first", u"a.b.c.300", 0, u"", 6},
    Assignment{"256 overflows", u"255.255.255.256", 0, u"", 6},
    Assignment{"a negative number overflows", u"-1.2.3.4", 0, u"", 6},
    Assignment{"U+4E2E counted as a dot leaves part 3 missing", u"1.2.3\u4E2E", 0, u"", 9},
    Assignment{"U+2E2E counts as two dots", u"1\u2E2E2.3", 0, u"", 9}),
    testing_support::RowName{});

TEST(AddressSetter, TooFewDotsRaise102WithItsTwoLineDescription) {
    Box box;
    try {
        box.box.Address(u"1.2.3");
        FAIL() << "no error raised";
    } catch (const Error& error) {
        EXPECT_EQ(error.description(), u"Ip 地址格式错误\r\n正确的格式应该为: 255.255.255.255");
    }
}

struct Counting {
    const char* name;
    Text lzExpr;
    Text nChar;
    std::int16_t count = 0;
    int error = 0;
};

class CountIF : public testing::TestWithParam<Counting> {};

TEST_P(CountIF, CountsMatchingBytesOrRaises) {
    const auto& row = GetParam();
    Box box;
    std::int16_t count = -1;
    EXPECT_EQ(errorOf([&] { count = box.box.CountIF(row.lzExpr, row.nChar); }), row.error);
    EXPECT_EQ(count, row.error ? -1 : row.count);
}

INSTANTIATE_TEST_SUITE_P(Rows, CountIF, testing::Values(
    Counting{"dots of an address", u"1.2.3.4", u".", 3},
    Counting{"only the first character of nChar", u"aab", u"ab", 2},
    Counting{"empty text with empty nChar", u"", u"", 0},
    Counting{"text with empty nChar", u"x", u"", 0, 5},
    Counting{"U+4E2E has one dot byte", u"\u4E2E", u".", 1},
    Counting{"U+2E2E has two dot bytes", u"\u2E2E", u".", 2},
    Counting{"NUL matches the high byte of ASCII", u"ab", Text(1, u'\0'), 2},
    Counting{"Latin-1 keeps its code", u"\u00E9t\u00E9", u"\u00E9", 2},
    Counting{"the euro sign is code 0x80", u"\u0080\u8080", u"\u20AC", 3},
    Counting{"U+0081 keeps its code", u"\u0081", u"\u0081", 1},
    Counting{"U+0080 has no code", u"\u0080", u"\u0080", 0},
    Counting{"a CJK character has no code", u"\u4E2E.", u"\u4E2E", 0},
    Counting{"16383 characters still fit", Text(16383, u'.'), u".", 16383},
    Counting{"16384 characters overflow", Text(16384, u'.'), u".", 0, 6},
    Counting{"16384 characters with empty nChar fail on the first byte", Text(16384, u'.'), u"", 0, 5},
    Counting{"16385 characters overflow before the walk", Text(16385, u'.'), u"", 0, 6}),
    testing_support::RowName{});

TEST(IpBoxLifecycle, InitialiseCreatesTheFieldSetsItsFontAndLoadsTheDefault) {
    EXPECT_EQ(Box{}.initialise, (Calls{creation(132, 19), call("GetStockObject", 17), call("SendMessageA", 7, 48, 90, 1),
                                       call("SendMessageA", 7, 1125, 0, 0xC0A87B64)}));
}

TEST(IpBoxLifecycle, WithoutAFieldTheSetterStillRaisesTheGetterGivesZerosAndResizeDoesNothing) {
    Box box{0};
    EXPECT_EQ(box.initialise, (Calls{creation(132, 19), call("SendMessageA", 0, 1125, 0, 0xC0A87B64)}));
    EXPECT_EQ(errorOf([&] { box.box.Address(u"1.2.3"); }), 102);
    EXPECT_EQ(errorOf([&] { box.box.Address(u"1.2.3.x"); }), 13);
    EXPECT_EQ(box.box.Address(), u"0.0.0.0");
    box.platform.calls.clear();
    box.box.UserControl_Resize();
    EXPECT_EQ(box.platform.calls, Calls{});
}

TEST(IpBoxLifecycle, ASecondFieldIsTheOneDrivenAndTheFirstStays) {
    Box box;
    box.platform.nextWindow = 8;
    box.box.CreateTextBox();
    box.box.Address(u"10.0.0.7");
    box.box.UserControl_Resize();
    EXPECT_EQ(box.platform.calls.back(), call("MoveWindow", 8, 0, 0, 132, 19, true));
    EXPECT_EQ(box.platform.fields, (std::map<WindowHandle, std::uint32_t>{{7, 0xC0A87B64}, {8, 0x0A000007}}));
    EXPECT_EQ(box.box.Address(), u"10.0.0.7");
}

struct Size {
    const char* name;
    double width;
    double height;
    std::int32_t roundedWidth = 0;
    std::int32_t roundedHeight = 0;
    int error = 0;
};

class Resize : public testing::TestWithParam<Size> {};

TEST_P(Resize, MovesTheFieldToTheRoundedSizeAndCreatesItThere) {
    const auto& row = GetParam();
    Box box;
    box.host.width = row.width;
    box.host.height = row.height;
    EXPECT_EQ(errorOf([&] { box.box.UserControl_Resize(); }), row.error);
    EXPECT_EQ(errorOf([&] { box.box.CreateTextBox(); }), row.error);
    EXPECT_EQ(box.platform.calls.size(), row.error ? 0u : 4u);
    if (row.error == 0) {
        EXPECT_EQ(box.platform.calls[0], call("MoveWindow", 7, 0, 0, row.roundedWidth, row.roundedHeight, true));
        EXPECT_EQ(box.platform.calls[1], creation(row.roundedWidth, row.roundedHeight));
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, Resize, testing::Values(
    Size{"whole pixels", 300, 40, 300, 40},
    Size{"halves go to the even neighbour", 200.5, 21.5, 200, 22},
    Size{"other fractions go to the nearest", 99.4, 18.6, 99, 19},
    Size{"a half pixel is none", 0.5, 1.5, 0, 2},
    Size{"beyond 32 bits overflows", 2147483647.5, 19, 0, 0, 6}),
    testing_support::RowName{});

}  // namespace
}  // namespace setip
