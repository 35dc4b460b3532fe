#include "common/error.h"
#include "printer/press.h"
#include "printer/set_address_command.h"
#include "tests/support/recording_library.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>

#include <system_error>

namespace setip {

void PrintTo(const PressOutcome& outcome, std::ostream* out) {
    constexpr const char* stages[] = {"address", "open", "send"};
    *out << "{handle " << (outcome.handle ? std::to_string(*outcome.handle) : "none") << ", "
         << (outcome.failedAt ? std::string{"failed at "} + stages[static_cast<int>(*outcome.failedAt)] : "sent")
         << ", \"" << outcome.reason << "\"}";
}

namespace {

using testing_support::RecordingLibrary;

PressRequest request(Text port, Text presentAddress = u"192.168.123.100", Text queue = u"Receipt",
                     Text baudRate = u"19200", Text newAddress = u"192.168.123.100") {
    return {std::move(port), std::move(presentAddress), std::move(queue), std::move(baudRate), std::move(newAddress)};
}

std::vector<std::string> sendSequence(const std::string& open, int handle = 7) {
    return {open, "startDoc()", "write(" + std::to_string(handle) + ", 1F 1B 1F 91 00 49 50 C0 A8 7B 64)", "endDoc()",
            "close()"};
}

const std::vector<std::string> nothingCalled;
const std::string refused = RecordingLibrary{}.reason;
const std::string thrown = std::make_error_code(std::errc::resource_unavailable_try_again).message();

struct Press {
    const char* name;
    PressRequest request;
    std::vector<std::string> calls;
    std::optional<std::int32_t> handle;  // the outcome
    std::optional<PressStage> failedAt;
    std::string reason;
    std::int32_t openResult = 7;
    std::string failsAt = {};  // the call that fails
    bool foreign = false;      // and throws what a toolkit or the system might, not the library's failure
    friend void PrintTo(const Press& row, std::ostream* out) { *out << row.name; }
};

class PressSetIp : public testing::TestWithParam<Press> {};

TEST_P(PressSetIp, MakesTheseCallsAndGivesThisOutcome) {
    const auto& row = GetParam();
    RecordingLibrary library;
    library.openResult = row.openResult;
    if (row.foreign) {
        library.onCall = [&](const std::string& call) {
            if (call.starts_with(row.failsAt + "(")) {
                throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
            }
        };
    } else {
        library.failsAt = row.failsAt;
    }
    EXPECT_EQ(pressSetIp(row.request, library), (PressOutcome{row.handle, row.failedAt, row.reason}));
    EXPECT_EQ(library.calls, row.calls);
}

INSTANTIATE_TEST_SUITE_P(Kinds, PressSetIp, testing::Values(
    Press{"ethx opens the present address as typed", request(u"ETHx", u" 127.0.0.5 "),
          sendSequence("open(network, \" 127.0.0.5 \", 0 0 0 0)"), 7, std::nullopt, ""},
    Press{"com12 opens the entry at the listed baud rate 8N1", request(u"COM12"),
          sendSequence("open(serial, \"COM12\", 19200 8 0 0)"), 7, std::nullopt, ""},
    Press{"lpt2 opens the entry and handle 0 counts as open", request(u"LPT2"),
          sendSequence("open(parallel, \"LPT2\", 0 0 0 0)", 0), 0, std::nullopt, "", 0},
    Press{"drive opens the chosen queue by its whole name", request(u"DRIVE", u"", u"Kasse-\u03A9"),
          sendSequence("open(driver, \"Kasse-\u03A9\", 0 0 0 0)"), 7, std::nullopt, ""}),
    testing_support::RowName{});

INSTANTIATE_TEST_SUITE_P(Failures, PressSetIp, testing::Values(
    Press{"lower case com1 names no port", request(u"com1"), nothingCalled,
          failedHandle, PressStage::open, "\"com1\" names no port; it must start with ETH, COM, LPT or DRI"},
    Press{"a baud rate that is no number opens nothing", request(u"COM1", u"", u"", u"fast"), nothingCalled,
          failedHandle, PressStage::open, "\"fast\" is not a number, so it is no baud rate for COM1"},
    Press{"a port that will not open is sent nothing", request(u"COM1"), {"open(serial, \"COM1\", 19200 8 0 0)"},
          failedHandle, PressStage::open, refused, 7, "open"},
    Press{"a failed write is told once the port is closed", request(u"LPT1"),
          sendSequence("open(parallel, \"LPT1\", 0 0 0 0)"), 7, PressStage::send, refused, 7, "write"},
    Press{"a failed end doc is told", request(u"DRIVER"), sendSequence("open(driver, \"Receipt\", 0 0 0 0)"),
          7, PressStage::send, refused, 7, "endDoc"},
    Press{"a failed close is told", request(u"DRIVER"), sendSequence("open(driver, \"Receipt\", 0 0 0 0)"),
          7, PressStage::send, refused, 7, "close"},
    Press{"any exception in the open is told as the open failing", request(u"LPT1"),
          {"open(parallel, \"LPT1\", 0 0 0 0)"}, failedHandle, PressStage::open, thrown, 7, "open", true},
    Press{"any exception in the send still closes and is told as the send failing", request(u"COM1"),
          sendSequence("open(serial, \"COM1\", 19200 8 0 0)"), 7, PressStage::send, thrown, 7, "write", true},
    Press{"a malformed address opens no port", request(u"LPT1", u"", u"", u"", u"10.1.2"), nothingCalled,
          std::nullopt, PressStage::address,
          "\"10.1.2\" is not a new address: write four numbers from 0 to 255 with dots between them"}),
    testing_support::RowName{});

// What the fuzz target cannot see: how blanks and zeros are read, and which of 13 and 6 a bad part raises. It checks
// that 9 is raised exactly when a part is missing.
struct NewAddress {
    const char* name;
    Text text;
    Octets octets;  // when parsing gives them
    int error = 0;
    friend void PrintTo(const NewAddress& row, std::ostream* out) { *out << row.name << ": \"" << toUtf8(row.text) << '"'; }
};

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
    NewAddress{"blanks around the text and each part, leading zeros, a plus sign and 255", u"  010 . +0. 255 .007 ",
               Octets{10, 0, 255, 7}},
    NewAddress{"a fifth part is ignored even if it is no number", u"10.1.2.3.x", Octets{10, 1, 2, 3}},
    NewAddress{"a negative part overflows", u"10.-1.2.3", Octets{}, 6},
    NewAddress{"twenty digits overflow rather than wrap around", u"10.0.0.18446744073709551617", Octets{}, 6},
    NewAddress{"tabs are not trimmed", u"\t10.0.0.7", Octets{}, 13},
    NewAddress{"the first bad part decides and 256 overflows", u"10.256.x.3", Octets{}, 6}),
    testing_support::RowName{});

}  // namespace
}  // namespace setip
