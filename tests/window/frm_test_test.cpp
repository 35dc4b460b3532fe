#include "printer/native/native_library.h"
#include "tests/support/recording_library.h"
#include "tests/support/table.h"
#include "window/frm_test.h"

#include <gtest/gtest.h>

#include <sstream>

namespace setip {
namespace {

// The window over recording hooks, or over `other` when given, loaded as the program loads it. Over a real library
// the present address is a refusing one on loopback, so that no press can ever reach the default 192.168.123.100.
struct LoadedForm final : DrawingSurface {
    explicit LoadedForm(std::vector<Text> printerNames = {u"A", u"B", u"C"}, PrinterLibrary* other = nullptr)
        : printers(std::move(printerNames)),
          form(printers, *this, messages, other != nullptr ? *other : library, diagnostics) {
        form.Form_Load();
        if (other != nullptr) form.Text1.setText(u"127.0.0.1:1");
    }
    void Cls() override {}
    ListedPrinters printers;
    testing_support::RecordingMessages messages;
    testing_support::RecordingLibrary library;
    std::ostringstream diagnostics;
    FrmTest form;
};

// Which of the port-kind inputs are enabled; the rule leaves at most one on.
std::string enabledInputs(const FrmTest& form) {
    return std::string{form.Text1.Enabled() ? "Text1" : ""} + (form.Combo2.Enabled() ? "Combo2" : "") +
           (form.Combo3.Enabled() ? "Combo3" : "");
}

TEST(FormLoad, FillsTheListsSelectsTheDefaultsAndEnablesTheNetworkInput) {
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
    EXPECT_EQ(enabledInputs(loaded.form), "Text1");
    EXPECT_TRUE(loaded.library.calls.empty()) << "start-up opens no port";
}

// The inputs enabled after the operator picks the Combo1 item at `picked` and then types `typed` over it.
struct EnablingRow {
    const char* name;
    std::int32_t picked;  // 0 ETHERNET, 1 COM1, 3 COM3, 10 LPT1, 13 DRIVER
    Text typed;
    std::string enabled;
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
              (std::vector<std::string>{R"(POS_Open("COM3", 115200, 8, 0, 0, 1))", "POS_StartDoc()",
                                        "POS_WriteFile(7, 1F 1B 1F 91 00 49 50 0A 00 00 07, 11)", "POS_EndDoc()",
                                        "POS_Close()"}));
}

// With nothing installed, start-up ends with an empty driver list, and the built-in library finds no queue.
TEST(Press, WithNoPrinterInstalledDriverFailsToOpen) {
    native::NativeLibrary library;
    LoadedForm loaded{{}, &library};
    EXPECT_EQ(loaded.form.Combo2.ListIndex(), ComboBox::noSelection);
    EXPECT_EQ(loaded.form.Combo2.Text(), u"");
    loaded.form.Combo1.setListIndex(13);
    loaded.form.Command5.click();
    EXPECT_EQ(loaded.messages.shown, (std::vector<Text>{u"error: Fail to open port,please check!"}));
}

}  // namespace
}  // namespace setip
