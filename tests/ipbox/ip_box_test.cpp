#include "common/error.h"
#include "ipbox/ip_box.h"
#include "tests/ipbox/recording_platform.h"
#include "tests/support/table.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>

namespace setip {
namespace {

using testing_support::FakeHost;
using testing_support::RecordingPlatform;
using Calls = std::vector<std::string>;

const Text formatError = u"Ip 地址格式错误\r\n正确的格式应该为: 255.255.255.255";

// Runs an operation and gives the number of the error it raised, or 0.
int errorOf(auto&& operation, Text* description = nullptr) {
    try {
        operation();
    } catch (const Error& error) {
        if (description) *description = error.description();
        return error.number();
    }
    return 0;
}

struct Box {
    FakeHost host;
    RecordingPlatform platform;
    ipBox box{host, platform};
    Box() {
        box.UserControl_Initialize();
        platform.calls.clear();
    }
};

struct Assignment {
    const char* name;
    Text text;
    std::optional<std::uint32_t> packed;  // empty when the setter raises
    int error = 0;
};

class AddressSetter : public testing::TestWithParam<Assignment> {};

TEST_P(AddressSetter, LoadsThePackedAddressOrRaisesLeavingTheFieldAlone) {
    const auto& row = GetParam();
    Box box;
    Text description;
    EXPECT_EQ(errorOf([&] { box.box.Address(row.text); }, &description), row.error);
    if (!row.packed) {
        EXPECT_EQ(box.platform.calls, Calls{});
        EXPECT_EQ(box.platform.fields[7], 0xC0A87B64u);
        if (row.error == 102) {
            EXPECT_EQ(description, formatError);
        }
        return;
    }
    const auto bytes = bufferFromPacked(*row.packed);
    EXPECT_EQ(box.platform.calls, (Calls{RecordingPlatform::line("RtlMoveMemory to variable %02x %02x %02x %02x",
                                                                 bytes[0], bytes[1], bytes[2], bytes[3]),
                                         RecordingPlatform::line("SendMessageA 7 1125 0 %#x", *row.packed)}));
}

INSTANTIATE_TEST_SUITE_P(Rows, AddressSetter, testing::Values(
    Assignment{"default is sent as the value itself", u"192.168.123.100", 0xC0A87B64},
    Assignment{"leading zeros", u"010.001.000.009", 0x0A010009},
    Assignment{"a fifth part is ignored", u"1.2.3.4.5", 0x01020304},
    Assignment{"a trailing dot is ignored", u"1.2.3.4.", 0x01020304},
    Assignment{"blanks around each number", u" 10 . 0 . 0 . 1 ", 0x0A000001},
    Assignment{"all ones", u"255.255.255.255", 0xFFFFFFFF},
    Assignment{"three parts are too few dots", u"1.2.3", std::nullopt, 102},
    Assignment{"no dots", u"1234", std::nullopt, 102},
    Assignment{"empty text", u"", std::nullopt, 102},
    Assignment{"an empty part is no number", u"1..2.3", std::nullopt, 13},
    Assignment{"a blank part is no number", u"1.2.3. ", std::nullopt, 13},
    Assignment{"part 3 is converted first", u"a.b.c.300", std::nullopt, 6},
    Assignment{"256 overflows", u"1.2.3.256", std::nullopt, 6},
    Assignment{"a negative number overflows", u"-1.2.3.4", std::nullopt, 6},
    Assignment{"a CJK character counted as a dot leaves part 3 missing", u"1.2.3\u4E2E", std::nullopt, 9},
    Assignment{"U+2E2E counts as two dots", u"1\u2E2E2.3", std::nullopt, 9}),
    testing_support::RowName{});

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
    if (row.error == 0) {
        EXPECT_EQ(count, row.count);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, CountIF, testing::Values(
    Counting{"dots of an address", u"1.2.3.4", u".", 3},
    Counting{"only the first character of nChar", u"aab", u"ab", 2},
    Counting{"empty text with empty nChar", u"", u"", 0},
    Counting{"text with empty nChar", u"x", u"", 0, 5},
    Counting{"U+4E2E has one dot byte", u"\u4E2E", u".", 1},
    Counting{"U+2E2E has two dot bytes", u"\u2E2E", u".", 2},
    Counting{"NUL matches the high byte of ASCII", u"ab", Text(1, u'\0'), 2},
    Counting{"latin-1 keeps its code", u"\u00E9t\u00E9", u"\u00E9", 2},
    Counting{"the euro sign is code 0x80", u"\u0080\u8080", u"\u20AC", 3},
    Counting{"U+0081 keeps its code", u"\u0081", u"\u0081", 1},
    Counting{"U+0080 has no code", u"\u0080", u"\u0080", 0},
    Counting{"a CJK character has no code", u"\u4E2E\u002E", u"\u4E2E", 0},
    Counting{"16383 characters still fit", Text(16383, u'.'), u".", 16383},
    Counting{"16384 characters overflow", Text(16384, u'.'), u".", 0, 6},
    Counting{"16384 characters with empty nChar fail on the first byte", Text(16384, u'.'), u"", 0, 5},
    Counting{"16385 characters overflow before the walk", Text(16385, u'.'), u"", 0, 6}),
    testing_support::RowName{});

TEST(IpBoxLifecycle, InitialiseCreatesTheFieldSetsTheFontAndLoadsTheDefault) {
    FakeHost host;
    RecordingPlatform platform;
    ipBox box{host, platform};
    box.UserControl_Initialize();
    EXPECT_EQ(platform.calls, (Calls{"CreateWindowExA 0x200 SysIPAddress32 '' 0x50810000 0 0 132 19 3 0 0x400000 (nil)",
                                     "GetStockObject 17", "SendMessageA 7 48 0x5a 0x1",
                                     "RtlMoveMemory to variable 64 7b a8 c0", "SendMessageA 7 1125 0 0xc0a87b64"}));
    platform.calls.clear();
    EXPECT_EQ(box.Address(), u"192.168.123.100");
    EXPECT_EQ(platform.calls, (Calls{"SendMessageA 7 1126 0 variable", "RtlMoveMemory to buffer 64 7b a8 c0"}));
}

TEST(IpBoxLifecycle, WithoutAFieldTheSetterStillRaisesAndTheRestDoesNothing) {
    FakeHost host;
    RecordingPlatform platform;
    platform.nextWindow = 0;
    ipBox box{host, platform};
    box.UserControl_Initialize();
    EXPECT_EQ(platform.calls.back(), "SendMessageA 0 1125 0 0xc0a87b64");
    EXPECT_EQ(errorOf([&] { box.Address(u"1.2.3"); }), 102);
    EXPECT_EQ(errorOf([&] { box.Address(u"1.2.3.x"); }), 13);
    EXPECT_EQ(box.Address(), u"0.0.0.0");
    platform.calls.clear();
    box.UserControl_Resize();
    EXPECT_EQ(platform.calls, Calls{});
}

TEST(IpBoxLifecycle, ASecondFieldIsTheOneDrivenAndTheFirstStays) {
    Box box;
    box.platform.nextWindow = 8;
    box.box.CreateTextBox();
    box.box.Address(u"10.0.0.7");
    box.box.UserControl_Resize();
    EXPECT_EQ(box.platform.fields, (std::map<WindowHandle, std::uint32_t>{{7, 0xC0A87B64}, {8, 0x0A000007}}));
    EXPECT_EQ(box.box.Address(), u"10.0.0.7");
    EXPECT_EQ(box.platform.calls[5], "MoveWindow 8 0 0 132 19 1");
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
    if (row.error != 0) {
        EXPECT_EQ(box.platform.calls, Calls{});
        return;
    }
    const auto size = RecordingPlatform::line(" 0 0 %d %d ", row.roundedWidth, row.roundedHeight);
    EXPECT_EQ(box.platform.calls.at(0), "MoveWindow 7" + size + "1");
    EXPECT_THAT(box.platform.calls.at(1), testing::HasSubstr(size + "3 0 "));
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
