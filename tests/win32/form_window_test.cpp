#include "app/win32/form_window.h"
#include "app/win32/run.h"
#include "printer/native/native_library.h"
#include "tests/support/recording_library.h"
#include "tests/support/table.h"
#include "tests/win32/winsock_peer.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <future>
#include <sstream>
#include <thread>

namespace setip::win32 {
namespace {

// The window over a library of the test's choice, shown as the program shows it.
struct ShownWindow {
    explicit ShownWindow(PrinterLibrary& library) : window(::GetModuleHandleW(nullptr), printers, library, diagnostics) {
        ::ShowWindow(window.handle(), SW_SHOWNORMAL);
        pump();
    }
    HWND operator[](const Control& control) const { return window.controlOf(control); }
    // Runs the messages waiting, as the program's loop would.
    void pump() const {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) dispatch(window, message);
    }
    // What the operator does on a list: picks the item (or types), and the list tells its window.
    void notify(const Control& control, int notification) const {
        const auto id = ::GetDlgCtrlID((*this)[control]);
        ::SendMessageW(window.handle(), WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>((*this)[control]));
    }
    void pick(const ComboBox& combo, int index) const {
        ::SendMessageW((*this)[combo], CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        notify(combo, CBN_SELCHANGE);
    }
    void press() const { ::SendMessageW((*this)[form.Command5], BM_CLICK, 0, 0); }

    std::ostringstream diagnostics;
    ListedPrinters printers{{u"A", u"B", u"C"}};
    FormWindow window;
    FrmTest& form = window.form();
};

// The window over a recording library.
class Win32Window : public testing::Test {
protected:
    testing_support::RecordingLibrary library;
    ShownWindow shown{library};
    FrmTest& form = shown.form;
};

Text textOf(HWND window) {
    wchar_t text[256];
    const int length = ::GetWindowTextW(window, text, 256);
    return Text{text, text + length};
}

// A plain run is at 96 DPI; at_dpi.sh runs this case again in a prefix set to SETIP_DPI.
TEST_F(Win32Window, PlacesEveryControlAtMulDivOfItsTwips) {
    const HWND window = shown.window.handle();
    const char* wanted = std::getenv("SETIP_DPI");
    const int dpi = wanted ? std::atoi(wanted) : 96;
    ASSERT_EQ(::GetDpiForWindow(window), static_cast<UINT>(dpi));
    const auto scaled = [&](std::int32_t twips) { return ::MulDiv(twips, dpi, 1440); };

    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, scaled(clientWidthTwips));
    EXPECT_EQ(client.bottom, scaled(clientHeightTwips));
    EXPECT_EQ(textOf(window), u"FrmQuillop");
    EXPECT_EQ(::GetWindowLongW(window, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0) << "the frame is fixed";
    const auto styleOf = [&](const Control& control) { return ::GetWindowLongW(shown[control], GWL_STYLE); };
    EXPECT_EQ(styleOf(form.Combo1) & 3, CBS_DROPDOWN);
    EXPECT_EQ(styleOf(form.Combo2) & 3, CBS_DROPDOWNLIST);
    EXPECT_EQ(styleOf(form.Command5) & BS_TYPEMASK, BS_PUSHBUTTON) << "not the default button";
    EXPECT_EQ(::SendMessageW(shown[form.Text1], WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(::GetStockObject(DEFAULT_GUI_FONT)));
    for (const Control* control : form.controls()) {
        RECT place{};
        ::GetWindowRect(shown[*control], &place);
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
        const Placement at = control->placement();
        EXPECT_EQ(place.left, scaled(at.left)) << control->name();
        EXPECT_EQ(place.top, scaled(at.top)) << control->name();
        EXPECT_EQ(place.right - place.left, scaled(at.width)) << control->name();
        if (dpi != 96 && control->kind() == ControlKind::comboBox) {
            // Wine keeps a closed list at least as tall as its font needs, and the stock font grows with the DPI.
            EXPECT_GE(place.bottom - place.top, scaled(at.height)) << control->name();
        } else {
            EXPECT_EQ(place.bottom - place.top, scaled(at.height)) << control->name();
        }
    }
}

struct Picks {
    std::string name;
    int port;      // picked in Combo1, or -1 to type `typed` instead
    Text typed;
    int printer;   // picked in Combo2 when its list is enabled, else -1
    int baudRate;  // picked in Combo3 when its list is enabled, else -1
    bool text1, combo2, combo3;
    std::string opened;  // what the press then asks the library
};

class PicksOnRealControls : public Win32Window, public testing::WithParamInterface<Picks> {};

TEST_P(PicksOnRealControls, EnableTheKindsInputsAndOpenWhatTheyName) {
    const Picks& row = GetParam();
    if (row.port >= 0) {
        shown.pick(form.Combo1, row.port);
    } else {
        ::SetWindowTextW(shown[form.Combo1], std::wstring{row.typed.begin(), row.typed.end()}.c_str());
        shown.notify(form.Combo1, CBN_EDITCHANGE);
    }
    EXPECT_EQ(::IsWindowEnabled(shown[form.Text1]) != 0, row.text1);
    EXPECT_EQ(::IsWindowEnabled(shown[form.Combo2]) != 0, row.combo2);
    EXPECT_EQ(::IsWindowEnabled(shown[form.Combo3]) != 0, row.combo3);
    EXPECT_TRUE(::IsWindowEnabled(shown[form.Text2]));
    EXPECT_TRUE(::IsWindowEnabled(shown[form.Command5]));
    if (row.printer >= 0) shown.pick(form.Combo2, row.printer);
    if (row.baudRate >= 0) shown.pick(form.Combo3, row.baudRate);
    shown.press();
    ASSERT_FALSE(library.calls.empty());
    EXPECT_EQ(library.calls.front(), row.opened);
}

INSTANTIATE_TEST_SUITE_P(Kinds, PicksOnRealControls, testing::Values(
    Picks{"ethernet picked", 0, u"", -1, -1, true, false, false, R"(POS_Open("192.168.123.100", 0, 0, 0, 0, 21))"},
    Picks{"com9 at 115200", 9, u"", -1, 3, false, false, true, R"(POS_Open("COM9", 115200, 8, 0, 0, 1))"},
    Picks{"lpt2 picked", 11, u"", -1, -1, false, false, false, R"(POS_Open("LPT2", 0, 0, 0, 0, 18))"},
    Picks{"the third printer", 13, u"", 2, -1, false, true, false, R"(POS_Open("C", 0, 0, 0, 0, 20))"},
    Picks{"drive typed", -1, u"DRIVE", -1, -1, false, true, false, R"(POS_Open("A", 0, 0, 0, 0, 20))"}),
    testing_support::RowName{});

TEST_F(Win32Window, TabsInTabIndexOrderAndSkipsWhatIsDisabled) {
    const auto order = [&](const Control& from) {
        std::vector<std::string> names;
        HWND at = shown[from];
        for (int step = 0; step < 6; ++step) {
            at = ::GetNextDlgTabItem(shown.window.handle(), at, FALSE);
            for (const Control* control : form.controls()) {
                if (shown[*control] == at || ::IsChild(shown[*control], at)) names.push_back(control->name());
            }
        }
        return names;
    };
    EXPECT_EQ(order(form.Combo1), (std::vector<std::string>{"Command5", "Text1", "Text2", "Combo1", "Command5", "Text1"}));
    shown.pick(form.Combo1, 13);
    EXPECT_EQ(order(form.Combo1), (std::vector<std::string>{"Combo2", "Command5", "Text2", "Combo1", "Combo2", "Command5"}));
}

// Space shows that keys reach the focused button at all, so that Enter and Esc pressing nothing means something.
TEST_F(Win32Window, EnterAndEscPressNothingAndSpacePressesTheFocusedButton) {
    HWND button = shown[form.Command5];
    ::SetForegroundWindow(shown.window.handle());
    ::SetFocus(button);
    ASSERT_EQ(::GetFocus(), button);
    const auto type = [&](WPARAM key) {
        ::PostMessageW(button, WM_KEYDOWN, key, 1);
        ::PostMessageW(button, WM_KEYUP, key, 1 | (3u << 30));
        shown.pump();
    };
    type(VK_RETURN);
    type(VK_ESCAPE);
    EXPECT_TRUE(library.calls.empty()) << library.calls.front();
    EXPECT_TRUE(::IsWindow(shown.window.handle())) << "Esc closed nothing either";
    type(VK_SPACE);
    EXPECT_FALSE(library.calls.empty()) << "Space pressed nothing";
}

TEST(FormWindow, PressesSetIpOnALoopbackPrinterWithTheTypedAddresses) {
    const testing_support::WinsockListener printer;
    native::NativeLibrary library;
    ShownWindow shown{library};
    const std::wstring address{printer.address().begin(), printer.address().end()};
    ::SetWindowTextW(shown[shown.form.Text1], address.c_str());
    ::SetWindowTextW(shown[shown.form.Text2], L" 10.0.0.7 ");
    auto received = std::async(std::launch::async, [&] { return printer.receive(); });
    shown.press();
    EXPECT_EQ(received.get(), (testing_support::Bytes{0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 0x0A, 0x00, 0x00, 0x07}));
    EXPECT_NE(shown.form.PortHandle().value_or(-1), -1) << library.failureReason();
}

TEST_F(Win32Window, ShowsTheFailureInAnErrorBoxOwnedByTheWindow) {
    library.openResult = -1;
    std::atomic<HWND> owner{nullptr};
    Text text;
    std::thread answer([&] {  // the box is modal: this reads it and answers OK, as the operator would
        HWND box = nullptr;
        for (int attempt = 0; attempt < 500 && box == nullptr; ++attempt, ::Sleep(10)) box = ::FindWindowW(L"#32770", L"error");
        owner = ::GetWindow(box, GW_OWNER);
        text = textOf(::GetDlgItem(box, 0xFFFF));  // the message's static text
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    shown.press();
    answer.join();
    EXPECT_EQ(owner.load(), shown.window.handle());
    EXPECT_EQ(text, u"Fail to open port,please check!");
}

}  // namespace
}  // namespace setip::win32
