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
#include <sstream>
#include <system_error>
#include <thread>

namespace setip::win32 {
namespace {

// The window over a library of the test's kind, shown as the program shows it.
template <class Library>
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
    FormWindow window{::GetModuleHandleW(nullptr), printers, library, diagnostics};
    FrmTest& form = window.form();
};
using Win32Window = Shown<testing_support::RecordingLibrary>;
using Win32WindowOnALoopbackPrinter = Shown<native::NativeLibrary>;

// A plain run is at 96 DPI; at_dpi.sh runs this case again in a prefix set to SETIP_DPI.
TEST_F(Win32Window, PlacesEveryControlAtMulDivOfItsTwips) {
    const HWND handle = window.handle();
    const char* given = std::getenv("SETIP_DPI");
    const int dpi = given ? std::atoi(given) : 96;
    ASSERT_EQ(::GetDpiForWindow(handle), static_cast<UINT>(dpi));
    const auto scaled = [&](std::int32_t twips) { return ::MulDiv(twips, dpi, 1440); };

    RECT client{};
    ::GetClientRect(handle, &client);
    EXPECT_EQ(client.right, scaled(clientWidthTwips));
    EXPECT_EQ(client.bottom, scaled(clientHeightTwips));
    EXPECT_EQ(::GetWindowLongW(handle, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0) << "the frame is fixed";
    for (const Control* control : form.controls()) {
        RECT place{};
        ::GetWindowRect((*this)[*control], &place);
        ::MapWindowPoints(nullptr, handle, reinterpret_cast<POINT*>(&place), 2);
        const Placement at = control->placement();
        const std::vector<LONG> wanted{scaled(at.left), scaled(at.top), scaled(at.width), scaled(at.height)};
        std::vector<LONG> found{place.left, place.top, place.right - place.left, place.bottom - place.top};
        // Wine keeps a closed list at least as tall as its font needs, and the stock font grows with the DPI.
        if (dpi != 96 && control->kind() == ControlKind::comboBox && found[3] >= wanted[3]) found[3] = wanted[3];
        EXPECT_EQ(found, wanted) << control->name();
    }
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

INSTANTIATE_TEST_SUITE_P(Kinds, PicksOnRealControls, testing::Values(
    Picks{"ethernet picked", 0, u"", -1, -1, {true, false, false}, R"(POS_Open("192.168.123.100", 0, 0, 0, 0, 21))"},
    Picks{"com9 at 115200", 9, u"", -1, 3, {false, false, true}, R"(POS_Open("COM9", 115200, 8, 0, 0, 1))"},
    Picks{"the third printer", 13, u"", 2, -1, {false, true, false}, R"(POS_Open("C", 0, 0, 0, 0, 20))"},
    Picks{"drive typed", -1, u"DRIVE", -1, -1, {false, true, false}, R"(POS_Open("A", 0, 0, 0, 0, 20))"}),
    testing_support::RowName{});

TEST_F(Win32Window, TabsInTabIndexOrder) {
    const auto order = [&](const Control& from) {
        std::vector<std::string> names;
        HWND at = (*this)[from];
        for (int step = 0; step < 6; ++step) {
            at = ::GetNextDlgTabItem(window.handle(), at, FALSE);
            for (const Control* control : form.controls()) {
                if ((*this)[*control] == at || ::IsChild((*this)[*control], at)) names.push_back(control->name());
            }
        }
        return names;
    };
    EXPECT_EQ(order(form.Combo1),
              (std::vector<std::string>{"Command5", "Text1", "Text2", "Combo1", "Command5", "Text1"}));
}

// The dialog manager would press a focused button on Enter and send IDOK or IDCANCEL on Esc; the window drops both.
// Space shows that keys reach the focused button at all, so that Enter and Esc pressing nothing means something.
TEST_F(Win32Window, EnterAndEscPressNothingAndSpacePressesTheFocusedButton) {
    const HWND button = (*this)[form.Command5];
    ::SetForegroundWindow(window.handle());
    ::SetFocus(button);
    ASSERT_EQ(::GetFocus(), button);
    const auto type = [&](WPARAM key) {
        ::PostMessageW(button, WM_KEYDOWN, key, 1);
        ::PostMessageW(button, WM_KEYUP, key, 1 | (3u << 30));
        pump();
    };
    type(VK_RETURN);
    type(VK_ESCAPE);
    EXPECT_TRUE(library.calls.empty()) << library.calls.front();
    EXPECT_TRUE(::IsWindow(window.handle())) << "Esc closed nothing either";
    type(VK_SPACE);
    EXPECT_FALSE(library.calls.empty()) << "Space pressed nothing";
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

// What the library throws is told as a port that would not open; the cursor waits only while the library works.
TEST_F(Win32Window, ShowsTheFailureInAnErrorBoxOwnedByTheWindow) {
    const HCURSOR wait = ::LoadCursorW(nullptr, IDC_WAIT);
    library.onCall = [&](const std::string&) {
        EXPECT_EQ(::GetCursor(), wait);
        throw std::system_error(std::make_error_code(std::errc::not_enough_memory));
    };
    HWND owner = nullptr;
    wchar_t text[64] = L"";
    std::thread answer([&] {  // the box is modal: this reads it and answers OK, as the operator would
        HWND box = nullptr;
        for (int attempt = 0; attempt < 500 && box == nullptr; ++attempt, ::Sleep(10)) {
            box = ::FindWindowW(L"#32770", L"error");
        }
        owner = ::GetWindow(box, GW_OWNER);
        ::GetDlgItemTextW(box, 0xFFFF, text, 64);  // the message's static text
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    press();
    answer.join();
    EXPECT_EQ(owner, window.handle());
    EXPECT_EQ(std::wstring{text}, L"Fail to open port,please check!");
    EXPECT_EQ(diagnostics.str(), "setip: " + std::make_error_code(std::errc::not_enough_memory).message() + "\n");
    EXPECT_NE(::GetCursor(), wait);
}

}  // namespace
}  // namespace setip::win32
