#include "tests/support/recording_library.h"
#include "tests/support/table.h"
#include "window/form_model.h"

#include <gtest/gtest.h>

#include <sstream>

namespace setip {
namespace {

// The window over recording hooks, loaded as the program loads it. It writes down each message shown, as
// "title: text", marked when the press still looked busy.
struct LoadedForm final : FrontEnd {
    explicit LoadedForm(std::vector<Text> printerNames = {u"A", u"B", u"C"})
        : printers(std::move(printerNames)), form(printers, *this, library, diagnostics) {
        form.Form_Load();
    }
    void Cls() override {}
    void showError(TextView title, TextView text) override {
        shown.push_back((busy ? u"(busy) " : u"") + Text{title} + u": " + Text{text});
    }
    void showBusy() override { busy = true; }
    void showIdle() override { busy = false; }

    ListedPrinters printers;
    std::vector<Text> shown;
    bool busy = false;
    testing_support::RecordingLibrary library;
    std::ostringstream diagnostics;
    FrmTest form;
};

// Which of the port-kind inputs are enabled; the rule leaves at most one on.
std::string enabledInputs(const FrmTest& form) {
    return std::string{form.Text1.Enabled() ? "Text1" : ""} + (form.Combo2.Enabled() ? "Combo2" : "") +
           (form.Combo3.Enabled() ? "Combo3" : "");
}

TEST(FormLoad, FillsTheListsSelectsTheDefaultsAndEnablesOnlyThePresentAddress) {
    LoadedForm loaded;
    EXPECT_EQ(loaded.form.Combo1.items(), (std::vector<Text>{u"ETHERNET", u"COM1", u"COM2", u"COM3", u"COM4",
                                                               u"COM5", u"COM6", u"COM7", u"COM8", u"COM9", u"LPT1",
                                                               u"LPT2", u"LPT3", u"DRIVER"}));
    EXPECT_EQ(loaded.form.Combo1.Text(), u"ETHERNET");
    EXPECT_EQ(loaded.form.Combo3.items(), (std::vector<Text>{u"9600", u"19200", u"38400", u"115200"}));
    EXPECT_EQ(loaded.form.Combo3.Text(), u"19200");
    EXPECT_EQ(loaded.form.Combo2.items(), (std::vector<Text>{u"A", u"B", u"C"})) << "the printers in their order";
    EXPECT_EQ(loaded.form.Combo2.Text(), u"A");
    EXPECT_EQ(loaded.form.Text1.Text(), u"192.168.123.100");
    EXPECT_EQ(loaded.form.Text2.Text(), u"192.168.123.100");
    EXPECT_TRUE(loaded.library.calls.empty()) << "start-up opens no port";
    // The enabling rule ran for ETHERNET during start-up, while the other two lists were still empty.
    EXPECT_EQ(enabledInputs(loaded.form), "Text1");
}

// The inputs enabled after the operator picks the Combo1 item at `picked` and then types `typed` over it.
struct EnablingRow {
    const char* name;
    std::int32_t picked;  // 0 ETHERNET, 1 COM1, 3 COM3, 10 LPT1, 13 DRIVER
    Text typed;
    std::string enabled;
    friend void PrintTo(const EnablingRow& row, std::ostream* out) {
        *out << row.name << ": item " << row.picked << ", then \"" << toUtf8(row.typed) << '"';
    }
};

class EnablingRule : public ::testing::TestWithParam<EnablingRow> {};

TEST_P(EnablingRule, FollowsTheFirstThreeCharacters) {
    LoadedForm loaded;
    loaded.form.Combo1.setListIndex(GetParam().picked);
    loaded.form.Combo1.operatorEdits(GetParam().typed);
    EXPECT_EQ(enabledInputs(loaded.form), GetParam().enabled);
}

INSTANTIATE_TEST_SUITE_P(Combo1, EnablingRule,
                         ::testing::Values(EnablingRow{"eth_is_network", 13, u"ETHX", "Text1"},
                                           EnablingRow{"lpt_is_parallel_with_all_off", 1, u"LPT", ""},
                                           EnablingRow{"dri_is_driver", 10, u"DRIVE", "Combo2"},
                                           EnablingRow{"leading_space_matches_nothing", 13, u" ETH", "Combo2"},
                                           EnablingRow{"empty_text_matches_nothing", 3, u"", "Combo3"},
                                           EnablingRow{"com12_is_serial", 0, u"COM12", "Combo3"}),
                         testing_support::RowName{});

// A press reads each input as it stands, not as start-up left it; Combo2's choice at a press is checked by the Win32
// window's test (tests/win32/form_window_test.cpp), which picks a printer by key.
TEST(Press, ReadsTheControlsAsTheyStand) {
    LoadedForm loaded;
    FrmTest& form = loaded.form;
    form.Combo1.operatorEdits(u"COM3");
    form.Combo3.setListIndex(3);
    form.Text2.setText(u"  10.0.0.7  ");
    form.Command5.click();
    EXPECT_EQ(loaded.library.calls,
              (std::vector<std::string>{R"(open(serial, "COM3", 115200 8 0 0))", "startDoc()",
                                        "write(7, 1F 1B 1F 91 00 49 50 0A 00 00 07)", "endDoc()", "close()"}));
}

// With nothing installed, start-up ends with an empty driver list, and a press names no queue; what the built-in
// library then says is the ports suite's.
TEST(Press, WithNoPrinterInstalledNamesNoQueue) {
    LoadedForm loaded{{}};
    EXPECT_EQ(loaded.form.Combo2.ListIndex(), ComboBox::noSelection);
    loaded.form.Combo1.setListIndex(13);
    loaded.form.Command5.click();
    EXPECT_EQ(loaded.library.calls.front(), R"(open(driver, "", 0 0 0 0))");
}

// What the operator is told at each stage a press can stop at, once the wait cursor is gone; the reason goes on one
// "setip:" line, but for a malformed address, whose box says what an address must look like.
struct Told {
    const char* name;
    Text newAddress;
    std::string failsAt;
    Text shown;
    std::string said;
    std::optional<std::int32_t> handle;
    friend void PrintTo(const Told& row, std::ostream* out) { *out << row.name; }
};

class Telling : public ::testing::TestWithParam<Told> {};

TEST_P(Telling, ShowsTheStagesMessageAndSaysWhy) {
    LoadedForm loaded;
    loaded.form.Command5.click();  // sent, so that nothing of this press is left from an earlier one
    loaded.library.failsAt = GetParam().failsAt;
    loaded.form.Text2.setText(GetParam().newAddress);
    loaded.form.Command5.click();
    EXPECT_EQ(loaded.shown, std::vector<Text>(GetParam().shown.empty() ? 0 : 1, u"error: " + GetParam().shown));
    EXPECT_EQ(loaded.diagnostics.str(), GetParam().said);
    EXPECT_EQ(loaded.form.PortHandle(), GetParam().handle);
    EXPECT_FALSE(loaded.busy);
}

INSTANTIATE_TEST_SUITE_P(Press, Telling, ::testing::Values(
    Told{"sent_is_silent", u"10.0.0.7", "", u"", "", 7},
    Told{"a_malformed_address_is_told_by_the_box_alone", u"10.0.0", "",
            u"Invalid IP address,please check!\r\nThe correct format is 255.255.255.255", "", std::nullopt},
    Told{"a_port_that_will_not_open", u"10.0.0.7", "open", u"Fail to open port,please check!",
            "setip: the recording library refuses\n", failedHandle},
    Told{"a_send_that_failed", u"10.0.0.7", "endDoc", u"Fail to send command,please check!",
            "setip: the recording library refuses\n", 7}),
    testing_support::RowName{});

}  // namespace
}  // namespace setip
