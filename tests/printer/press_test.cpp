#include "printer/press.h"
#include "tests/support/recording_library.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>

#include <sstream>
#include <system_error>

namespace setip {
namespace {

using testing_support::RecordingLibrary;
using testing_support::RecordingMessages;

constexpr const char* sent192 = "1F 1B 1F 91 00 49 50 C0 A8 7B 64";

WindowInputs inputs(Text combo1, Text text1 = u"192.168.123.100", Text combo2 = u"Receipt", Text combo3 = u"19200",
                    Text text2 = u"192.168.123.100") {
    return {std::move(combo1), std::move(text1), std::move(combo2), std::move(combo3), std::move(text2)};
}

std::vector<std::string> sendSequence(const std::string& open, int handle = 7, const char* bytes = sent192) {
    return {open, "POS_StartDoc()", "POS_WriteFile(" + std::to_string(handle) + ", " + bytes + ", 11)",
            "POS_EndDoc()", "POS_Close()"};
}

const std::vector<std::string> nothingCalled;
const std::u16string openFailed = u"error: Fail to open port,please check!";
const std::u16string sendFailed = u"error: Fail to send command,please check!";

struct Press {
    const char* name;
    WindowInputs inputs;
    std::int32_t openResult;
    std::vector<std::string> calls;
    std::vector<std::u16string> shown;
    std::int32_t writeResult = 11;
    std::int32_t endDocResult = 0;
    std::string throwsAt = {};  // the call that throws, as a toolkit or the system might
};

void PrintTo(const Press& row, std::ostream* out) { *out << row.name; }

class PressSetIp : public testing::TestWithParam<Press> {};

TEST_P(PressSetIp, MakesTheseCallsAndShowsTheseMessages) {
    const auto& row = GetParam();
    RecordingLibrary library;
    library.openResult = row.openResult;
    library.writeResult = row.writeResult;
    library.endDocResult = row.endDocResult;
    RecordingMessages messages;
    std::vector<std::string> whileIdle;
    library.onCall = [&](const std::string& call) {
        if (!messages.busy) whileIdle.push_back(call);
        if (!row.throwsAt.empty() && call.starts_with(row.throwsAt)) {
            throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
        }
    };
    std::ostringstream diagnostics;

    pressSetIp(row.inputs, library, messages, diagnostics);

    EXPECT_EQ(library.calls, row.calls);
    EXPECT_EQ(messages.shown, row.shown) << "a message shown while the press looks busy is marked (busy)";
    EXPECT_EQ(whileIdle, std::vector<std::string>{}) << "the press did not look busy during these calls";
    EXPECT_FALSE(messages.busy) << "the press still looks busy after it ended";
}

INSTANTIATE_TEST_SUITE_P(Kinds, PressSetIp, testing::Values(
    Press{"ethernet opens the present address in mode 21", inputs(u"ETHERNET", u"127.0.0.5"), 7,
          sendSequence("POS_Open(\"127.0.0.5\", 0, 0, 0, 0, 21)"), {}},
    Press{"com1 opens the entry at the listed baud rate in mode 1", inputs(u"COM1"), 7,
          sendSequence("POS_Open(\"COM1\", 19200, 8, 0, 0, 1)"), {}},
    Press{"lpt2 opens the entry in mode 18", inputs(u"LPT2"), 7,
          sendSequence("POS_Open(\"LPT2\", 0, 0, 0, 0, 18)"), {}},
    Press{"driver opens the chosen queue in mode 20", inputs(u"DRIVER"), 7,
          sendSequence("POS_Open(\"Receipt\", 0, 0, 0, 0, 20)"), {}},
    Press{"driver with no printer installed opens the empty name", inputs(u"DRIVER", u"", u""), 7,
          sendSequence("POS_Open(\"\", 0, 0, 0, 0, 20)"), {}},
    Press{"names reach the library as utf8", inputs(u"DRIVER", u"", u"Caf\u00E9"), 7,
          sendSequence("POS_Open(\"Caf\xC3\xA9\", 0, 0, 0, 0, 20)"), {}}),
    testing_support::RowName{});

INSTANTIATE_TEST_SUITE_P(OnlyThreeCharactersCount, PressSetIp, testing::Values(
    Press{"ethx is network", inputs(u"ETHx", u"127.0.0.5"), 7, sendSequence("POS_Open(\"127.0.0.5\", 0, 0, 0, 0, 21)"), {}},
    Press{"comport is serial", inputs(u"COMPORT"), 7, sendSequence("POS_Open(\"COMPORT\", 19200, 8, 0, 0, 1)"), {}},
    Press{"drive is a driver", inputs(u"DRIVE"), 7, sendSequence("POS_Open(\"Receipt\", 0, 0, 0, 0, 20)"), {}},
    Press{"lower case com1 names no port", inputs(u"com1"), 7, nothingCalled, {openFailed}},
    Press{"two characters name no port", inputs(u"CO"), 7, nothingCalled, {openFailed}},
    Press{"a leading blank names no port", inputs(u" COM1"), 7, nothingCalled, {openFailed}}),
    testing_support::RowName{});

INSTANTIATE_TEST_SUITE_P(Handles, PressSetIp, testing::Values(
    Press{"handle 0 counts as open", inputs(u"LPT1"), 0,
          sendSequence("POS_Open(\"LPT1\", 0, 0, 0, 0, 18)", 0), {}},
    Press{"handle -1 shows the message and calls nothing more", inputs(u"COM1"), -1,
          {"POS_Open(\"COM1\", 19200, 8, 0, 0, 1)"}, {openFailed}},
    Press{"a baud rate that is no number opens nothing", inputs(u"COM1", u"", u"", u"fast"), 7,
          nothingCalled, {openFailed}}),
    testing_support::RowName{});

INSTANTIATE_TEST_SUITE_P(SendResults, PressSetIp, testing::Values(
    Press{"a short write is told after the close", inputs(u"LPT1"), 7,
          sendSequence("POS_Open(\"LPT1\", 0, 0, 0, 0, 18)"), {sendFailed}, 5},
    Press{"a failed write is told after the close", inputs(u"LPT1"), 7,
          sendSequence("POS_Open(\"LPT1\", 0, 0, 0, 0, 18)"), {sendFailed}, -1},
    Press{"a failed end doc is told after the close", inputs(u"DRIVER"), 7,
          sendSequence("POS_Open(\"Receipt\", 0, 0, 0, 0, 20)"), {sendFailed}, 11, -1},
    Press{"an exception in the open is shown as the open failing", inputs(u"COM1"), 7,
          {"POS_Open(\"COM1\", 19200, 8, 0, 0, 1)"}, {openFailed}, 11, 0, "POS_Open"},
    Press{"an exception in the send still closes and is shown as the send failing", inputs(u"COM1"), 7,
          {"POS_Open(\"COM1\", 19200, 8, 0, 0, 1)", "POS_StartDoc()",
           "POS_WriteFile(7, 1F 1B 1F 91 00 49 50 C0 A8 7B 64, 11)", "POS_Close()"},
          {sendFailed}, 11, 0, "POS_WriteFile"}),
    testing_support::RowName{});

INSTANTIATE_TEST_SUITE_P(NewAddress, PressSetIp, testing::Values(
    Press{"blanks in text1 reach the open as typed", inputs(u"ETHERNET", u" 127.0.0.5 "), 7,
          sendSequence("POS_Open(\" 127.0.0.5 \", 0, 0, 0, 0, 21)"), {}},
    Press{"blanks around the new address are trimmed", inputs(u"LPT1", u"", u"", u"", u"  10.0.0.7  "), 7,
          sendSequence("POS_Open(\"LPT1\", 0, 0, 0, 0, 18)", 7, "1F 1B 1F 91 00 49 50 0A 00 00 07"), {}},
    Press{"a fifth part is ignored", inputs(u"LPT1", u"", u"", u"", u"10.1.2.3.4"), 7,
          sendSequence("POS_Open(\"LPT1\", 0, 0, 0, 0, 18)", 7, "1F 1B 1F 91 00 49 50 0A 01 02 03"), {}},
    Press{"a malformed address opens no port and says so", inputs(u"LPT1", u"", u"", u"", u"10.1.2"), 7,
          nothingCalled, {u"error: Invalid IP address,please check!\r\nThe correct format is 255.255.255.255"}}),
    testing_support::RowName{});

// Each press after the first finds the first one's reason still in the library.
TEST(PressSetIp, TellsWhyOnOneLineAboutThisPressOnly) {
    RecordingLibrary library;
    library.openResult = -1;
    library.reason = "cannot connect to 127.0.0.5:9100: Connection refused";
    RecordingMessages messages;
    const auto said = [&](const WindowInputs& pressed) {
        std::ostringstream diagnostics;
        pressSetIp(pressed, library, messages, diagnostics);
        return diagnostics.str();
    };

    EXPECT_EQ(said(inputs(u"ETHERNET", u"127.0.0.5")), "setip: cannot connect to 127.0.0.5:9100: Connection refused\n");
    EXPECT_EQ(said(inputs(u"USB1")), "setip: \"USB1\" names no port; it must start with ETH, COM, LPT or DRI\n");
    EXPECT_EQ(said(inputs(u"COM1", u"", u"", u"fast")), "setip: \"fast\" is not a number, so it is no baud rate for COM1\n");
    library.openResult = 7;
    library.writeResult = -1;
    library.reason = "cannot write to /dev/lp0: Input/output error";
    EXPECT_EQ(said(inputs(u"LPT1")), "setip: cannot write to /dev/lp0: Input/output error\n");
}

TEST(PressSetIp, TwoPressesOpenAndCloseTwice) {
    RecordingLibrary library;
    RecordingMessages messages;
    std::ostringstream diagnostics;
    const auto com = inputs(u"COM2");

    pressSetIp(com, library, messages, diagnostics);
    pressSetIp(com, library, messages, diagnostics);

    auto twice = sendSequence("POS_Open(\"COM2\", 19200, 8, 0, 0, 1)");
    const auto once = twice;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(library.calls, twice);
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace setip
