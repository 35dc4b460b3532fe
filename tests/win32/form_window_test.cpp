#include "app/win32/form_window.h"
#include "app/win32/run.h"
#include "tests/support/recording_library.h"
#include "tests/win32/keyboard.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace setip::win32 {
namespace {

using testing_support::typeKeys;

// The window over a library of the test's kind, shown as the program shows it; `dpi` as the system offers it, or as
// Windows 7, which has none of the per-monitor functions.
template <class Library, DpiFunctions (*dpi)() = DpiFunctions::ofSystem>
class Shown : public testing::Test {
protected:
    // The present address is a refusing one on loopback, so that no press can ever reach the default
    // 192.168.123.100.
    Shown() {
        ::SetWindowTextW((*this)[form.Text1], L"127.0.0.1:1");
        ::ShowWindow(window.handle(), SW_SHOWNORMAL);
        type(L"");
    }
    HWND operator[](const Control& control) const { return window.controlOf(control); }
    // Types, then runs the window's messages as the program's loop would, until the keys have all been handled.
    void type(std::wstring_view keys) const {
        typeKeys(keys);
        MSG message;
        for (int idle = 0; idle < 5; ++idle) {
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) dispatch(window, message);
            if (::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT) != WAIT_TIMEOUT) idle = 0;
        }
    }
    bool focused(const Control& control) const {
        const HWND focus = ::GetFocus();
        return focus == (*this)[control] || ::IsChild((*this)[control], focus);
    }
    // At 96 DPI in a plain run; at_dpi.sh runs the layout cases again in a prefix set to SETIP_DPI.
    void expectLaidOutAtTheScreensDpi() const {
        const int screenDpi = std::getenv("SETIP_DPI") ? std::atoi(std::getenv("SETIP_DPI")) : 96;
        const auto scaled = [&](std::int32_t twips) { return ::MulDiv(twips, screenDpi, 1440); };

        RECT client{};
        ::GetClientRect(window.handle(), &client);
        EXPECT_EQ(client.right, scaled(clientWidthTwips));
        EXPECT_EQ(client.bottom, scaled(clientHeightTwips));
        EXPECT_EQ(::GetWindowLongW(window.handle(), GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0) << "fixed frame";
        for (const Control* control : form.controls()) {
            RECT place{};
            ::GetWindowRect((*this)[*control], &place);
            ::MapWindowPoints(nullptr, window.handle(), reinterpret_cast<POINT*>(&place), 2);
            const Placement at = control->placement();
            const std::vector<LONG> wanted{scaled(at.left), scaled(at.top), scaled(at.width), scaled(at.height)};
            std::vector<LONG> found{place.left, place.top, place.right - place.left, place.bottom - place.top};
            // Wine keeps a closed list at least as tall as its font needs, and the stock font grows with the DPI.
            if (screenDpi != 96 && control->kind() == ControlKind::comboBox && found[3] >= wanted[3]) {
                found[3] = wanted[3];
            }
            EXPECT_EQ(found, wanted) << control->name();
        }
    }

    Library library;
    std::ostringstream diagnostics;
    ListedPrinters printers{{u"A", u"B", u"C"}};
    FormWindow window{::GetModuleHandleW(nullptr), printers, library, diagnostics, dpi()};
    FrmTest& form = window.form();
};
using Win32Window = Shown<testing_support::RecordingLibrary>;
using Win32WindowOnWindows7 = Shown<testing_support::RecordingLibrary, DpiFunctions::missing>;

TEST_F(Win32Window, PlacesEveryControlAtMulDivOfItsTwips) { expectLaidOutAtTheScreensDpi(); }
TEST_F(Win32WindowOnWindows7, PlacesEveryControlAtMulDivOfItsTwips) { expectLaidOutAtTheScreensDpi(); }

// Moved to a monitor of another scale, every control takes the default GUI font made for it, and the font made for
// the monitor before is released.
TEST_F(Win32Window, TakesTheFontOfANewDpiAndReleasesTheOldOne) {
    const auto fontsAt = [&](UINT dpi) {  // on a monitor of that DPI, or where the window was made for 0
        RECT suggested{0, 0, 400, 200};
        if (dpi) ::SendMessageW(window.handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                                reinterpret_cast<LPARAM>(&suggested));
        std::set<HGDIOBJ> used;
        for (const Control* control : form.controls()) {
            used.insert(reinterpret_cast<HGDIOBJ>(::SendMessageW((*this)[*control], WM_GETFONT, 0, 0)));
        }
        return used;
    };
    const HGDIOBJ stock = ::GetStockObject(DEFAULT_GUI_FONT);
    LOGFONTW stockFont{}, madeFont{};
    ::GetObjectW(stock, sizeof stockFont, &stockFont);
    ASSERT_EQ(fontsAt(0), std::set<HGDIOBJ>{stock});

    const auto scaled = fontsAt(systemDpi() * 3 / 2);
    ASSERT_EQ(scaled.size(), 1u);
    ASSERT_NE(::GetObjectW(*scaled.begin(), sizeof madeFont, &madeFont), 0);
    EXPECT_EQ(madeFont.lfHeight, ::MulDiv(stockFont.lfHeight, 3, 2));

    EXPECT_EQ(fontsAt(systemDpi()), std::set<HGDIOBJ>{stock});
    EXPECT_EQ(::GetObjectW(*scaled.begin(), sizeof madeFont, &madeFont), 0) << "the scaled font was not released";
}

// From the first key, and again after an error box answered by its own key, without a click anywhere. Enter and Esc
// press nothing: the dialog manager would press the focused button on Enter and send IDOK or IDCANCEL. What the
// library throws is told as a port that would not open, in a box the window owns, and the cursor waits only while the
// library works; what the press then calls and says is the press's suite.
TEST_F(Win32Window, PressesSetIpFromTheFirstKeyAndAgainAfterAnErrorBox) {
    ASSERT_TRUE(focused(form.Combo1)) << "the first control in tab order has the focus at start";
    type(L"ETHERNET\t\t127.0.0.2:9100\t10.0.0.7\t\t \r\x1b");
    EXPECT_EQ(library.calls,
              (std::vector<std::string>{R"(open(network, "127.0.0.2:9100", 0 0 0 0))", "startDoc()",
                                        "write(7, 1F 1B 1F 91 00 49 50 0A 00 00 07)", "endDoc()", "close()"}));
    EXPECT_TRUE(focused(form.Command5));

    const HCURSOR wait = ::LoadCursorW(nullptr, IDC_WAIT);
    library.onCall = [wait](const std::string&) {
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
    EXPECT_EQ(std::wstring{text}, L"Fail to open port,please check!");
    EXPECT_EQ(owner, window.handle());
    EXPECT_NE(::GetCursor(), wait);
    ASSERT_TRUE(focused(form.Command5)) << "the focus is back on Set IP once the box has gone";
    // The enabling rule itself is the model's; this shows that an edit in Combo1 and a pick in a fixed list reach it,
    // and that the keys reach the inputs it enables: back to Combo1, DRIVE typed over ETHERNET, then Combo2.
    library.onCall = nullptr;
    type(L"\t\t\t" + std::wstring(16, L'\b') + L"DRIVE\tC\t ");
    ASSERT_EQ(library.calls.size(), 6u);
    EXPECT_EQ(library.calls[1], R"(open(driver, "C", 0 0 0 0))");
}

// Each box takes pasted text of any length; 100,000 characters around a valid address reach the press whole.
TEST_F(Win32Window, TakesPastedTextOfAnyLength) {
    const std::wstring blanks(50'000, L' ');
    testing_support::putOnClipboard(blanks + L"10.0.0.7" + blanks);
    for (const Control* box : {static_cast<const Control*>(&form.Combo1), static_cast<const Control*>(&form.Text1),
                               static_cast<const Control*>(&form.Text2)}) {
        const HWND edit = box == &form.Combo1 ? ::GetWindow((*this)[*box], GW_CHILD) : (*this)[*box];
        ::SendMessageW(edit, EM_SETSEL, 0, -1);
        ::SendMessageW(edit, WM_PASTE, 0, 0);
    }
    EXPECT_EQ((std::vector<std::size_t>{form.Combo1.Text().size(), form.Text1.Text().size(), form.Text2.Text().size()}),
              std::vector<std::size_t>(3, 100'008));
    form.Combo1.operatorEdits(u"LPT1");
    ::SendMessageW((*this)[form.Command5], BM_CLICK, 0, 0);
    ASSERT_EQ(library.calls.size(), 5u);
    EXPECT_EQ(library.calls[2], "write(7, 1F 1B 1F 91 00 49 50 0A 00 00 07)");
}

// What a screen reader gets of a control through the system's accessible objects. Wine's oleacc names an edit after
// the nearest static text before it and any other control by its own text, and keeps no annotation (every
// IAccPropServices call answers E_NOTIMPL); so here the names show the labels' order and the label never shown, and
// the annotated names and description, which Windows shows, are read in the Qt suite through AT-SPI.
struct Heard {
    const char* name;
    const char* control;
    const wchar_t* accessibleName;  // null: Wine names it by its own text
    bool unavailable;
    friend void PrintTo(const Heard& row, std::ostream* out) { *out << row.name << " (" << row.control << ")"; }
};

using UniqueAccessible = UniqueResource<PointerHandleTraits<IAccessible*, releaseComObject>>;

UniqueAccessible accessibleOf(HWND window) {
    IAccessible* accessible = nullptr;
    ::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                 reinterpret_cast<void**>(&accessible));
    return UniqueAccessible{accessible};
}

// Reads each control's accessible object as a screen reader does, its name and its state.
TEST_F(Win32Window, TellsAScreenReaderWhatEachBoxIsAndWhichListsAreOff) {
    const std::vector<Heard> rows = {
        {"the present-address box, named by the IP label just before it", "Text1", L"IP:", false},
        {"the new-address box, named by a label never shown", "Text2", L"New IP address", false},
        {"the button, named by its caption", "Command5", L"Set IP", false},
        {"the port list, on", "Combo1", nullptr, false},
        {"the driver list, off after start-up", "Combo2", nullptr, true},
        {"the baud-rate list, off after start-up", "Combo3", nullptr, true},
    };
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    const auto controls = form.controls();
    for (const Heard& row : rows) {
        const auto control = std::find_if(controls.begin(), controls.end(),
                                          [&](const Control* each) { return each->name() == row.control; });
        const UniqueAccessible heard = accessibleOf((*this)[**control]);
        ASSERT_TRUE(heard) << testing::PrintToString(row);
        BSTR name = nullptr;
        heard.get()->get_accName(self, &name);
        if (row.accessibleName != nullptr) {
            EXPECT_EQ(std::wstring(name != nullptr ? name : L""), row.accessibleName) << testing::PrintToString(row);
        }
        ::SysFreeString(name);
        VARIANT state{};
        heard.get()->get_accState(self, &state);
        EXPECT_EQ((state.lVal & STATE_SYSTEM_UNAVAILABLE) != 0, row.unavailable) << testing::PrintToString(row);
    }
}

}  // namespace
}  // namespace setip::win32
