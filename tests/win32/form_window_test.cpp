#include "app/win32/form_window.h"
#include "app/win32/run.h"
#include "printer/native/native_library.h"
#include "tests/support/recording_library.h"
#include "tests/support/table.h"
#include "tests/win32/winsock_peer.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <future>
#include <set>
#include <sstream>
#include <system_error>
#include <thread>

namespace setip::win32 {
namespace {

// The window over a library of the test's kind, shown as the program shows it; `dpi` as the system offers it, or as
// Windows 7, which has none of the per-monitor functions.
template <class Library, DpiFunctions (*dpi)() = DpiFunctions::ofSystem>
class Shown : public testing::Test {
protected:
    Shown() {
        ::ShowWindow(window.handle(), SW_SHOWNORMAL);
        pump();
    }
    // Runs the messages waiting, as the program's loop would.
    void pump() const {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) dispatch(window, message);
    }
    HWND operator[](const Control& control) const { return window.controlOf(control); }
    // What the operator does on a list: picks the item (or types), and the list tells its window.
    void notify(const Control& control, int notification) const {
        const HWND native = (*this)[control];
        ::SendMessageW(window.handle(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(native), notification),
                       reinterpret_cast<LPARAM>(native));
    }
    void pick(const ComboBox& combo, int index) const {
        ::SendMessageW((*this)[combo], CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        notify(combo, CBN_SELCHANGE);
    }
    void press() const { ::SendMessageW((*this)[form.Command5], BM_CLICK, 0, 0); }

    Library library;
    std::ostringstream diagnostics;
    ListedPrinters printers{{u"A", u"B", u"C"}};
    FormWindow window{::GetModuleHandleW(nullptr), printers, library, diagnostics, dpi()};
    FrmTest& form = window.form();
};
using Win32Window = Shown<testing_support::RecordingLibrary>;
using Win32WindowOnWindows7 = Shown<testing_support::RecordingLibrary, DpiFunctions::missing>;
using Win32WindowOnALoopbackPrinter = Shown<native::NativeLibrary>;

void expectLaidOutAtTheScreensDpi(HWND handle, const FrmTest& form, const FormWindow& window);

// A plain run is at 96 DPI; at_dpi.sh runs these cases again in a prefix set to SETIP_DPI.
TEST_F(Win32Window, PlacesEveryControlAtMulDivOfItsTwips) { expectLaidOutAtTheScreensDpi(window.handle(), form, window); }
TEST_F(Win32WindowOnWindows7, PlacesEveryControlAtMulDivOfItsTwips) {
    expectLaidOutAtTheScreensDpi(window.handle(), form, window);
}

void expectLaidOutAtTheScreensDpi(HWND handle, const FrmTest& form, const FormWindow& window) {
    const char* given = std::getenv("SETIP_DPI");
    const int dpi = given ? std::atoi(given) : 96;
    ASSERT_EQ(DpiFunctions::ofSystem().dpiOf(handle), static_cast<UINT>(dpi));
    const auto scaled = [&](std::int32_t twips) { return ::MulDiv(twips, dpi, 1440); };

    RECT client{};
    ::GetClientRect(handle, &client);
    EXPECT_EQ(client.right, scaled(clientWidthTwips));
    EXPECT_EQ(client.bottom, scaled(clientHeightTwips));
    EXPECT_EQ(::GetWindowLongW(handle, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0) << "the frame is fixed";
    for (const Control* control : form.controls()) {
        RECT place{};
        ::GetWindowRect(window.controlOf(*control), &place);
        ::MapWindowPoints(nullptr, handle, reinterpret_cast<POINT*>(&place), 2);
        const Placement at = control->placement();
        const std::vector<LONG> wanted{scaled(at.left), scaled(at.top), scaled(at.width), scaled(at.height)};
        std::vector<LONG> found{place.left, place.top, place.right - place.left, place.bottom - place.top};
        // Wine keeps a closed list at least as tall as its font needs, and the stock font grows with the DPI.
        if (dpi != 96 && control->kind() == ControlKind::comboBox && found[3] >= wanted[3]) found[3] = wanted[3];
        EXPECT_EQ(found, wanted) << control->name();
    }
}

// Moved to a monitor of another scale, every control takes the default GUI font made for it, and the font made for
// the monitor before is released.
TEST_F(Win32Window, TakesTheFontOfANewDpiAndReleasesTheOldOne) {
    const auto changeDpi = [&](UINT dpi) {
        RECT suggested{0, 0, 400, 200};
        ::SendMessageW(window.handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    };
    const auto fonts = [&] {
        std::set<HGDIOBJ> used;
        for (const Control* control : form.controls()) {
            used.insert(reinterpret_cast<HGDIOBJ>(::SendMessageW((*this)[*control], WM_GETFONT, 0, 0)));
        }
        return used;
    };
    const HGDIOBJ stock = ::GetStockObject(DEFAULT_GUI_FONT);
    LOGFONTW stockFont{}, madeFont{};
    ::GetObjectW(stock, sizeof stockFont, &stockFont);
    const UINT system = systemDpi();
    ASSERT_EQ(fonts(), std::set<HGDIOBJ>{stock});

    changeDpi(system * 3 / 2);
    const auto scaled = fonts();
    ASSERT_EQ(scaled.size(), 1u);
    ASSERT_NE(::GetObjectW(*scaled.begin(), sizeof madeFont, &madeFont), 0);
    EXPECT_EQ(madeFont.lfHeight, ::MulDiv(stockFont.lfHeight, 3, 2));
    EXPECT_EQ(std::wstring{madeFont.lfFaceName}, std::wstring{stockFont.lfFaceName});

    changeDpi(system);
    EXPECT_EQ(fonts(), std::set<HGDIOBJ>{stock});
    EXPECT_EQ(::GetObjectW(*scaled.begin(), sizeof madeFont, &madeFont), 0) << "the scaled font was not released";
}

struct Picks {
    std::string name;
    int port;      // picked in Combo1, or -1 to type `typed` instead
    Text typed;
    int printer;   // picked in Combo2 when its list is enabled, else -1
    int baudRate;  // picked in Combo3 when its list is enabled, else -1
    std::vector<bool> enabled;  // Text1, Combo2, Combo3
    std::string opened;  // what the press then asks the library
};

class PicksOnRealControls : public Win32Window, public testing::WithParamInterface<Picks> {};

TEST_P(PicksOnRealControls, EnableTheKindsInputsAndOpenWhatTheyName) {
    const Picks& row = GetParam();
    if (row.port >= 0) {
        pick(form.Combo1, row.port);
    } else {
        ::SetWindowTextW((*this)[form.Combo1], std::wstring{row.typed.begin(), row.typed.end()}.c_str());
        notify(form.Combo1, CBN_EDITCHANGE);
    }
    const auto enabled = [&](const Control& control) { return ::IsWindowEnabled((*this)[control]) != 0; };
    EXPECT_EQ((std::vector<bool>{enabled(form.Text1), enabled(form.Combo2), enabled(form.Combo3)}), row.enabled);
    if (row.printer >= 0) pick(form.Combo2, row.printer);
    if (row.baudRate >= 0) pick(form.Combo3, row.baudRate);
    press();
    ASSERT_FALSE(library.calls.empty());
    EXPECT_EQ(library.calls.front(), row.opened);
}

// The enabling rule itself is the model's; these show that each list's pick and edit reach it.
INSTANTIATE_TEST_SUITE_P(Kinds, PicksOnRealControls, testing::Values(
    Picks{"com9 at 115200", 9, u"", -1, 3, {false, false, true}, R"(POS_Open("COM9", 115200, 8, 0, 0, 1))"},
    Picks{"drive typed then the third printer", -1, u"DRIVE", 2, -1, {false, true, false},
          R"(POS_Open("C", 0, 0, 0, 0, 20))"}),
    testing_support::RowName{});

// Keys as the operator types them, through the system's input queue to whichever control has the focus: a tab is the
// Tab key, a space the space bar, a return Enter, an escape Esc, and any other character is typed as itself.
void typeKeys(std::wstring_view keys) {
    std::vector<INPUT> inputs;
    for (const wchar_t key : keys) {
        const WORD virtualKey = key == L'\t'   ? VK_TAB
                                : key == L' '  ? VK_SPACE
                                : key == L'\r' ? VK_RETURN
                                : key == 0x1B  ? VK_ESCAPE
                                               : 0;
        for (const DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = virtualKey;
            input.ki.wScan = virtualKey == 0 ? key : 0;
            input.ki.dwFlags = up | (virtualKey == 0 ? KEYEVENTF_UNICODE : 0);
            inputs.push_back(input);
        }
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

class Win32WindowByKeys : public Win32Window {
protected:
    // Types, then runs the window's messages until the keys have all arrived and been handled.
    void type(std::wstring_view keys) const {
        typeKeys(keys);
        for (int idle = 0; idle < 5; ++idle) {
            pump();
            if (::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT) != WAIT_TIMEOUT) idle = 0;
        }
    }
    bool focused(const Control& control) const {
        const HWND focus = ::GetFocus();
        return focus == (*this)[control] || ::IsChild((*this)[control], focus);
    }
};

// From the first key, and again after an error box answered by its own key, without a click anywhere. Enter and Esc
// press nothing: the dialog manager would press the focused button on Enter and send IDOK or IDCANCEL. What the
// library throws is told as a port that would not open, and the cursor waits only while the library works.
TEST_F(Win32WindowByKeys, PressesSetIpFromTheFirstKeyAndAgainAfterAnErrorBox) {
    ASSERT_TRUE(focused(form.Combo1)) << "the first control in tab order has the focus at start";
    type(L"ETHERNET\t\t127.0.0.2:9100\t10.0.0.7\t\t \r\x1b");
    EXPECT_EQ(library.calls, (std::vector<std::string>{R"(POS_Open("127.0.0.2:9100", 0, 0, 0, 0, 21))", "POS_StartDoc()",
                                                       "POS_WriteFile(7, 1F 1B 1F 91 00 49 50 0A 00 00 07, 11)",
                                                       "POS_EndDoc()", "POS_Close()"}));
    EXPECT_TRUE(focused(form.Command5));

    const HCURSOR wait = ::LoadCursorW(nullptr, IDC_WAIT);
    library.onCall = [&](const std::string&) {
        EXPECT_EQ(::GetCursor(), wait);
        throw std::system_error(std::make_error_code(std::errc::not_enough_memory));
    };
    library.calls.clear();
    HWND owner = nullptr;
    wchar_t text[64] = L"";
    std::thread answer([&] {  // the box is modal: this reads it, then presses Enter on it as the operator would
        HWND box = nullptr;
        for (int attempt = 0; attempt < 500 && box == nullptr; ++attempt, ::Sleep(10)) {
            box = ::FindWindowW(L"#32770", L"error");
        }
        owner = ::GetWindow(box, GW_OWNER);
        ::GetDlgItemTextW(box, 0xFFFF, text, 64);  // the message's static text
        typeKeys(L"\r");
    });
    type(L" ");
    answer.join();
    EXPECT_EQ(owner, window.handle());
    EXPECT_EQ(std::wstring{text}, L"Fail to open port,please check!");
    EXPECT_EQ(diagnostics.str(), "setip: " + std::make_error_code(std::errc::not_enough_memory).message() + "\n");
    EXPECT_NE(::GetCursor(), wait);
    EXPECT_EQ(library.calls.size(), 1u);
    ASSERT_TRUE(focused(form.Command5)) << "the focus is back on Set IP once the box has gone";
    library.onCall = nullptr;
    type(L" ");
    EXPECT_EQ(library.calls.size(), 6u);
}

// By name, so that the system's own lookup takes part; the refusals and the deadline go by number.
TEST_F(Win32WindowOnALoopbackPrinter, PressesSetIpWithTheTypedAddresses) {
    const testing_support::WinsockListener printer;
    const std::string port = printer.address().substr(printer.address().find(':'));
    ::SetWindowTextW((*this)[form.Text1], (L"localhost" + std::wstring{port.begin(), port.end()}).c_str());
    ::SetWindowTextW((*this)[form.Text2], L" 10.0.0.7 ");
    auto received = std::async(std::launch::async, [&] { return printer.receive(); });
    press();
    const testing_support::Bytes command{0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 0x0A, 0x00, 0x00, 0x07};
    EXPECT_EQ(received.get(), command);
    EXPECT_NE(form.PortHandle().value_or(-1), -1) << library.failureReason();
}

}  // namespace
}  // namespace setip::win32
