#include "common/error.h"
#include "printer/native/native_library.h"
#include "tests/support/table.h"
#include "tests/window/frm_test_fixture.h"

#include <gtest/gtest.h>

namespace setip {
namespace {

using testing_support::driverInputs;
using testing_support::InputFlags;
using testing_support::inputFlagsOf;
using testing_support::LoadedForm;
using testing_support::networkInputs;
using testing_support::parallelInputs;
using testing_support::serialInputs;

std::vector<Text> itemsOf(const ComboBox& list) {
    std::vector<Text> items;
    for (std::int32_t index = 0; index < list.ListCount(); ++index) items.push_back(list.List(index));
    return items;
}

TEST(FormLoad, FillsTheListsSelectsTheDefaultsAndRunsTheRuleForEthernet) {
    LoadedForm loaded;
    const FrmTest& form = loaded.form;
    EXPECT_EQ(itemsOf(form.Combo1), (std::vector<Text>{u"ETHERNET", u"COM1", u"COM2", u"COM3", u"COM4", u"COM5",
                                                        u"COM6", u"COM7", u"COM8", u"COM9", u"LPT1", u"LPT2",
                                                        u"LPT3", u"DRIVER"}));
    EXPECT_EQ(form.Combo1.ListIndex(), 0);
    EXPECT_EQ(form.Combo1.Text(), u"ETHERNET");
    EXPECT_EQ(itemsOf(form.Combo3), (std::vector<Text>{u"9600", u"19200", u"38400", u"115200"}));
    EXPECT_EQ(form.Combo3.ListIndex(), 1);
    EXPECT_EQ(form.Combo3.Text(), u"19200");
    EXPECT_EQ(form.Text1.Text(), u"192.168.123.100");
    EXPECT_EQ(form.Text2.Text(), u"192.168.123.100");
    EXPECT_EQ(inputFlagsOf(form), networkInputs);
    EXPECT_TRUE(form.Text2.Enabled());
    EXPECT_TRUE(form.Command5.Enabled());
    EXPECT_EQ(loaded.surface.clears, 1);
    EXPECT_TRUE(loaded.library.calls.empty()) << "start-up opens no port";
}

TEST(FormLoad, ClearsTheSurfaceAfterTheBaudRatesAndBeforeThePrinters) {
    LoadedForm loaded{{u"A"}, false};
    const FrmTest& form = loaded.form;
    EXPECT_EQ(form.Combo1.Text(), u"Combo1") << "the designer's text, until start-up replaces it";
    bool checked = false;
    loaded.surface.onCls = [&] {
        checked = true;
        EXPECT_EQ(form.Combo3.ListCount(), 4);
        EXPECT_EQ(form.Combo3.Text(), u"19200");
        EXPECT_FALSE(form.Combo3.Enabled()) << "the rule ran for ETHERNET before the baud rates were added";
        EXPECT_EQ(form.Combo2.ListCount(), 0);
    };
    loaded.form.Form_Load();
    EXPECT_TRUE(checked);
}

struct PrintersRow {
    const char* name;
    std::vector<Text> installed;
    std::int32_t listIndex;
    Text shown;
    friend void PrintTo(const PrintersRow& row, std::ostream* out) { *out << row.name; }
};

class DriverList : public ::testing::TestWithParam<PrintersRow> {};

TEST_P(DriverList, HoldsThePrintersInTheirOrderAndShowsTheFirst) {
    const PrintersRow& row = GetParam();
    LoadedForm loaded{row.installed};
    EXPECT_EQ(itemsOf(loaded.form.Combo2), row.installed);
    EXPECT_EQ(loaded.form.Combo2.ListIndex(), row.listIndex);
    EXPECT_EQ(loaded.form.Combo2.Text(), row.shown);
}

INSTANTIATE_TEST_SUITE_P(
    FormLoad, DriverList,
    ::testing::Values(PrintersRow{"three_printers_first_shown_whichever_is_default", {u"A", u"B", u"C"}, 0, u"A"},
                      PrintersRow{"unsorted_order_is_kept", {u"Zeta", u"alpha", u"Mid"}, 0, u"Zeta"},
                      PrintersRow{"one_printer", {u"Receipt"}, 0, u"Receipt"},
                      PrintersRow{"names_as_given_untrimmed_duplicates_kept", {u" A ", u"A", u"A"}, 0, u" A "},
                      PrintersRow{"no_printer_leaves_the_list_empty_and_unselected", {}, -1, u""}),
    testing_support::RowName{});

// The flags after the operator first picks `before` and then types `typed` into the port list.
struct EnablingRow {
    const char* name;
    Text before;
    std::optional<Text> typed;  // nothing typed: the pick alone
    InputFlags expected;
    friend void PrintTo(const EnablingRow& row, std::ostream* out) { *out << row.name; }
};

class EnablingRule : public ::testing::TestWithParam<EnablingRow> {};

TEST_P(EnablingRule, FollowsTheFirstThreeCharacters) {
    const EnablingRow& row = GetParam();
    LoadedForm loaded;
    FrmTest& form = loaded.form;
    for (std::int32_t index = 0; index < form.Combo1.ListCount(); ++index) {
        if (form.Combo1.List(index) == row.before) form.Combo1.setListIndex(index);
    }
    ASSERT_EQ(form.Combo1.Text(), row.before);
    if (row.typed) form.Combo1.operatorEdits(*row.typed);
    EXPECT_EQ(inputFlagsOf(form), row.expected);
    EXPECT_TRUE(form.Text2.Enabled());
    EXPECT_TRUE(form.Command5.Enabled());
}

INSTANTIATE_TEST_SUITE_P(
    Combo1, EnablingRule,
    ::testing::Values(EnablingRow{"pick_com3", u"COM3", std::nullopt, serialInputs},
                      EnablingRow{"pick_lpt1", u"LPT1", std::nullopt, parallelInputs},
                      EnablingRow{"pick_driver", u"DRIVER", std::nullopt, driverInputs},
                      EnablingRow{"pick_ethernet_after_driver", u"DRIVER", u"ETHERNET", networkInputs},
                      EnablingRow{"ethx_is_network", u"LPT1", u"ETHX", networkInputs},
                      EnablingRow{"comport_is_serial", u"LPT1", u"COMPORT", serialInputs},
                      EnablingRow{"lpt_alone_is_parallel", u"COM1", u"LPT", parallelInputs},
                      EnablingRow{"drive_is_driver", u"LPT1", u"DRIVE", driverInputs},
                      EnablingRow{"lowercase_com1_keeps_the_serial_flags", u"COM1", u"com1", serialInputs},
                      EnablingRow{"mixed_case_eth_keeps_the_driver_flags", u"DRIVER", u"Eth", driverInputs},
                      EnablingRow{"xyz_keeps_the_parallel_flags", u"LPT2", u"XYZ", parallelInputs},
                      EnablingRow{"d_keeps_the_network_flags", u"ETHERNET", u"D", networkInputs},
                      EnablingRow{"empty_text_keeps_the_driver_flags", u"DRIVER", u"", driverInputs},
                      EnablingRow{"leading_space_matches_nothing", u"COM2", u" ETH", serialInputs}),
    testing_support::RowName{});

TEST(EnablingRule, TypingComOneKeyAtATime) {
    LoadedForm loaded;
    FrmTest& form = loaded.form;
    form.Combo1.setListIndex(10);  // LPT1: all three off, so C and CO visibly change nothing
    const std::vector<std::pair<Text, InputFlags>> keys = {
        {u"C", parallelInputs}, {u"CO", parallelInputs}, {u"COM", serialInputs}, {u"COM1", serialInputs},
        {u"COM12", serialInputs}};
    for (const auto& [text, expected] : keys) {
        form.Combo1.operatorEdits(text);
        EXPECT_EQ(inputFlagsOf(form), expected) << "after typing " << toUtf8(text);
    }
    EXPECT_EQ(form.Combo1.Text(), u"COM12");
    EXPECT_EQ(form.Combo1.ListIndex(), ComboBox::noSelection);
}

TEST(Press, ReadsTheTextsCurrentAtTheMomentOfThePress) {
    LoadedForm loaded;
    FrmTest& form = loaded.form;
    form.Combo1.operatorEdits(u"COM3");
    form.Combo3.setListIndex(3);
    form.Text2.setText(u"  10.0.0.7  ");
    form.Command5.click();
    form.Text2.setText(u"10.1.2.3.4");
    form.Combo3.setListIndex(0);
    form.Command5.click();

    EXPECT_EQ(loaded.library.calls, (std::vector<std::string>{
                                        R"(POS_Open("COM3", 115200, 8, 0, 0, 1))",
                                        "POS_StartDoc()",
                                        "POS_WriteFile(7, 1F 1B 1F 91 00 49 50 0A 00 00 07, 11)",
                                        "POS_EndDoc()",
                                        "POS_Close()",
                                        R"(POS_Open("COM3", 9600, 8, 0, 0, 1))",
                                        "POS_StartDoc()",
                                        "POS_WriteFile(7, 1F 1B 1F 91 00 49 50 0A 01 02 03, 11)",
                                        "POS_EndDoc()",
                                        "POS_Close()"}));
    EXPECT_EQ(form.PortHandle(), 7);
    EXPECT_TRUE(loaded.messages.shown.empty());
}

TEST(Press, DriverAndPresentAddressComeFromTheirControls) {
    LoadedForm loaded{{u"Kitchen", u"Bar"}};
    FrmTest& form = loaded.form;
    form.Combo1.setListIndex(13);
    form.Combo2.setListIndex(1);
    form.Command5.click();
    form.Combo1.setListIndex(0);
    form.Text1.setText(u"127.0.0.5:9100");
    form.Command5.click();
    EXPECT_EQ(loaded.library.calls.at(0), R"(POS_Open("Bar", 0, 0, 0, 0, 20))");
    EXPECT_EQ(loaded.library.calls.at(5), R"(POS_Open("127.0.0.5:9100", 0, 0, 0, 0, 21))");
}

TEST(Press, APortThatWillNotOpenIsShownAndNothingIsSent) {
    LoadedForm loaded;
    loaded.library.openResult = -1;
    loaded.form.Command5.click();
    EXPECT_EQ(loaded.library.calls, (std::vector<std::string>{R"(POS_Open("192.168.123.100", 0, 0, 0, 0, 21))"}));
    EXPECT_EQ(loaded.messages.shown, (std::vector<Text>{u"error: Fail to open port,please check!"}));
    EXPECT_EQ(loaded.form.PortHandle(), -1);
}

TEST(Press, WithNoPrinterInstalledDriverFindsNoQueue) {
    LoadedForm loaded{{}};
    FrmTest& form = loaded.form;
    form.Combo1.setListIndex(13);
    EXPECT_EQ(inputFlagsOf(form), driverInputs);
    form.Command5.click();
    EXPECT_EQ(loaded.library.calls.at(0), R"(POS_Open("", 0, 0, 0, 0, 20))") << "an empty driver name is passed";

    // The built-in library knows no queue without a name, so the operator is told the port did not open.
    native::NativeLibrary library;
    testing_support::RecordingMessages messages;
    testing_support::WatchedSurface surface;
    std::ostringstream diagnostics;
    FrmTest real{loaded.printers, surface, messages, library, diagnostics};
    real.Form_Load();
    real.Combo1.setListIndex(13);
    real.Command5_Click();
    EXPECT_EQ(messages.shown, (std::vector<Text>{u"error: Fail to open port,please check!"}));
    EXPECT_EQ(real.PortHandle(), -1);
}

TEST(ComboBox, KeepsTheSelectionOnItsItemAndRejectsIndexesItDoesNotHave) {
    ComboBox list{"List", ComboStyle::dropDownList, u"ignored", {}, 0};
    EXPECT_EQ(list.Text(), u"") << "a list that offers only its items starts with no text";
    list.AddItem(u"b");
    list.setListIndex(0);
    list.AddItem(u"a", 0);
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_EQ(list.Text(), u"b");
    list.AddItem(u"c", 2);
    EXPECT_EQ(itemsOf(list), (std::vector<Text>{u"a", u"b", u"c"}));

    const auto errorNumberOf = [](auto&& operation) {
        try {
            operation();
        } catch (const Error& error) {
            return error.number();
        }
        return 0;
    };
    EXPECT_EQ(errorNumberOf([&] { list.AddItem(u"x", 4); }), 5);
    EXPECT_EQ(errorNumberOf([&] { list.AddItem(u"x", -1); }), 5);
    EXPECT_EQ(errorNumberOf([&] { list.setListIndex(3); }), 5);
    EXPECT_EQ(errorNumberOf([&] { list.setListIndex(-2); }), 5);
    EXPECT_EQ(errorNumberOf([&] { list.operatorEdits(u"x"); }), 5) << "only an editable list takes typed text";
    EXPECT_EQ(list.Text(), u"b");
    list.setListIndex(ComboBox::noSelection);
    EXPECT_EQ(list.Text(), u"");
    EXPECT_EQ(errorNumberOf([] { ListedPrinters{{u"A"}}.DeviceName(1); }), 9);
}

}  // namespace
}  // namespace setip
