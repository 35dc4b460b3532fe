#include "app/win32/form_window.h"
#include "app/win32/run.h"
#include "printer/native/native_library.h"
#include "tests/support/recording_library.h"
#include "tests/support/table.h"
#include "tests/win32/winsock_peer.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <sstream>
#include <thread>

namespace setip::win32 {
namespace {

// The window over a library of the test's choice, shown as the program shows it.
struct ShownWindow {
    explicit ShownWindow(PrinterLibrary& library, std::vector<Text> printerNames = {u"A", u"B", u"C"})
        : printers(std::move(printerNames)), window(::GetModuleHandleW(nullptr), printers, library, diagnostics) {
        ::ShowWindow(window.handle(), SW_SHOWNORMAL);
        pump();
    }
    HWND operator[](const Control& control) const { return window.controlOf(control); }
    FrmTest& form() { return window.form(); }
    // Runs the messages waiting, as the program's loop would.
    void pump() const {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) dispatch(window, message);
    }
    // What the operator does on a list: it picks the item, and the list tells its window.
    void pick(const ComboBox& combo, int index) const {
        ::SendMessageW((*this)[combo], CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        notify(combo, CBN_SELCHANGE);
    }
    void notify(const Control& control, int notification) const {
        const auto id = ::GetDlgCtrlID((*this)[control]);
        ::SendMessageW(window.handle(), WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>((*this)[control]));
    }

    std::ostringstream diagnostics;
    ListedPrinters printers;
    FormWindow window;
};

Text textOf(HWND window) {
    wchar_t text[256];
    const int length = ::GetWindowTextW(window, text, 256);
    return Text{text, text + length};
}

RECT placeOf(HWND control) {
    RECT rectangle{};
    ::GetWindowRect(control, &rectangle);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rectangle), 2);
    return rectangle;
}

TEST(FormWindow, PlacesEveryControlAtItsTwipsOverFifteenAt96Dpi) {
    testing_support::RecordingLibrary library;
    ShownWindow shown{library};
    ASSERT_EQ(::GetDpiForWindow(shown.window.handle()), 96u);

    RECT client{};
    ::GetClientRect(shown.window.handle(), &client);
    EXPECT_EQ(client.right, 387);
    EXPECT_EQ(client.bottom, 129);
    EXPECT_EQ(textOf(shown.window.handle()), u"FrmQuillop");
    const auto style = ::GetWindowLongW(shown.window.handle(), GWL_STYLE);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0) << "the frame is fixed";

    for (const Control* control : shown.form().controls()) {
        const Placement at = control->placement();
        const RECT place = placeOf(shown[*control]);
        EXPECT_EQ(place.left, at.left / 15) << control->name();
        EXPECT_EQ(place.top, at.top / 15) << control->name();
        EXPECT_EQ(place.right - place.left, at.width / 15) << control->name();
        EXPECT_EQ(place.bottom - place.top, at.height / 15) << control->name();
    }
}

TEST(FormWindow, DrawsTheLoadedModelWithTheSystemsControls) {
    testing_support::RecordingLibrary library;
    ShownWindow shown{library};
    FrmTest& form = shown.form();

    const auto classOf = [&](const Control& control) {
        wchar_t name[32];
        ::GetClassNameW(shown[control], name, 32);
        return std::wstring{name};
    };
    EXPECT_EQ(classOf(form.Label1), L"Static");
    EXPECT_EQ(classOf(form.Text1), L"Edit");
    EXPECT_EQ(classOf(form.Combo1), L"ComboBox");
    EXPECT_EQ(classOf(form.Command5), L"Button");
    const auto styleOf = [&](const Control& control) { return ::GetWindowLongW(shown[control], GWL_STYLE); };
    EXPECT_EQ(styleOf(form.Combo1) & 3, CBS_DROPDOWN);
    EXPECT_EQ(styleOf(form.Combo2) & 3, CBS_DROPDOWNLIST);
    EXPECT_EQ(styleOf(form.Combo3) & 3, CBS_DROPDOWNLIST);
    EXPECT_EQ(styleOf(form.Command5) & BS_TYPEMASK, BS_PUSHBUTTON) << "not the default button";

    EXPECT_EQ(textOf(shown[form.Combo1]), u"ETHERNET");
    EXPECT_EQ(::SendMessageW(shown[form.Combo1], CB_GETCOUNT, 0, 0), 14);
    EXPECT_EQ(textOf(shown[form.Combo3]), u"19200");
    EXPECT_EQ(::SendMessageW(shown[form.Combo2], CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(textOf(shown[form.Combo2]), u"A") << "the first printer in the platform's order";
    EXPECT_EQ(textOf(shown[form.Text1]), u"192.168.123.100");
    EXPECT_EQ(textOf(shown[form.Text2]), u"192.168.123.100");
    EXPECT_EQ(textOf(shown[form.Label3]), u"Driver:");
    EXPECT_EQ(::SendMessageW(shown[form.Text1], WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(::GetStockObject(DEFAULT_GUI_FONT)));
}

struct Enabling {
    std::string name;
    int index;        // picked in Combo1, or -1 to type `typed` instead
    Text typed;
    bool text1, combo2, combo3;
};

class EnablingOnRealControls : public testing::TestWithParam<Enabling> {};

TEST_P(EnablingOnRealControls, FollowsThePortKind) {
    const Enabling& row = GetParam();
    testing_support::RecordingLibrary library;
    ShownWindow shown{library};
    FrmTest& form = shown.form();
    shown.pick(form.Combo1, 1);  // COM1 first, so that a text of no kind visibly keeps the serial inputs
    if (row.index >= 0) {
        shown.pick(form.Combo1, row.index);
    } else {
        ::SetWindowTextW(shown[form.Combo1], std::wstring{row.typed.begin(), row.typed.end()}.c_str());
        shown.notify(form.Combo1, CBN_EDITCHANGE);
    }
    EXPECT_EQ(::IsWindowEnabled(shown[form.Text1]) != 0, row.text1);
    EXPECT_EQ(::IsWindowEnabled(shown[form.Combo2]) != 0, row.combo2);
    EXPECT_EQ(::IsWindowEnabled(shown[form.Combo3]) != 0, row.combo3);
    EXPECT_TRUE(::IsWindowEnabled(shown[form.Text2]));
    EXPECT_TRUE(::IsWindowEnabled(shown[form.Command5]));
}

INSTANTIATE_TEST_SUITE_P(Kinds, EnablingOnRealControls, testing::Values(
    Enabling{"ethernet picked", 0, u"", true, false, false},
    Enabling{"com3 picked", 3, u"", false, false, true},
    Enabling{"lpt1 picked", 10, u"", false, false, false},
    Enabling{"driver picked", 13, u"", false, true, false},
    Enabling{"eth typed", -1, u"ETHx", true, false, false},
    Enabling{"drive typed", -1, u"DRIVE", false, true, false},
    Enabling{"lower case typed keeps serial", -1, u"com1", false, false, true},
    Enabling{"two characters typed keep serial", -1, u"DR", false, false, true}),
    testing_support::RowName{});

struct Picks {
    std::string name;
    int port;           // picked in Combo1
    int driver;         // picked in Combo2 when its list is enabled, else -1
    int baudRate;       // picked in Combo3 when its list is enabled, else -1
    std::string opened;  // what the press then asks the library
};

class PressOnRealControls : public testing::TestWithParam<Picks> {};

TEST_P(PressOnRealControls, OpensWhatThePicksName) {
    const Picks& row = GetParam();
    testing_support::RecordingLibrary library;
    ShownWindow shown{library};
    FrmTest& form = shown.form();
    shown.pick(form.Combo1, row.port);
    if (row.driver >= 0) shown.pick(form.Combo2, row.driver);
    if (row.baudRate >= 0) shown.pick(form.Combo3, row.baudRate);
    ::SendMessageW(shown[form.Command5], BM_CLICK, 0, 0);
    ASSERT_FALSE(library.calls.empty());
    EXPECT_EQ(library.calls.front(), row.opened);
}

INSTANTIATE_TEST_SUITE_P(Kinds, PressOnRealControls, testing::Values(
    Picks{"com9 at 115200", 9, -1, 3, R"(POS_Open("COM9", 115200, 8, 0, 0, 1))"},
    Picks{"com1 at the default 19200", 1, -1, -1, R"(POS_Open("COM1", 19200, 8, 0, 0, 1))"},
    Picks{"lpt2", 11, -1, -1, R"(POS_Open("LPT2", 0, 0, 0, 0, 18))"},
    Picks{"the third printer", 13, 2, -1, R"(POS_Open("C", 0, 0, 0, 0, 20))"}),
    testing_support::RowName{});

TEST(FormWindow, TabsInTabIndexOrderAndSkipsWhatIsDisabled) {
    testing_support::RecordingLibrary library;
    ShownWindow shown{library};
    FrmTest& form = shown.form();
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

TEST(FormWindow, EnterAndEscPressNothingAndSpacePressesTheFocusedButton) {
    testing_support::RecordingLibrary library;
    ShownWindow shown{library};
    HWND button = shown[shown.form().Command5];
    ::SetForegroundWindow(shown.window.handle());
    ::SetFocus(button);
    ASSERT_EQ(::GetFocus(), button);

    for (const WPARAM key : {WPARAM{VK_RETURN}, WPARAM{VK_ESCAPE}}) {
        ::PostMessageW(button, WM_KEYDOWN, key, 1);
        ::PostMessageW(button, WM_KEYUP, key, 1 | (3u << 30));
        shown.pump();
    }
    EXPECT_TRUE(library.calls.empty()) << library.calls.front();
    EXPECT_TRUE(::IsWindow(shown.window.handle())) << "Esc closed nothing either";

    ::PostMessageW(button, WM_KEYDOWN, VK_SPACE, 1);
    ::PostMessageW(button, WM_KEYUP, VK_SPACE, 1 | (3u << 30));
    shown.pump();
    ASSERT_FALSE(library.calls.empty());
    EXPECT_EQ(library.calls.front(), R"(POS_Open("192.168.123.100", 0, 0, 0, 0, 21))");
}

TEST(FormWindow, PressesSetIpOnALoopbackPrinterWithTheTypedAddresses) {
    testing_support::WinsockPrinter printer;
    native::NativeLibrary library;
    ShownWindow shown{library};
    FrmTest& form = shown.form();
    const std::wstring address{printer.address().begin(), printer.address().end()};
    ::SetWindowTextW(shown[form.Text1], address.c_str());
    ::SetWindowTextW(shown[form.Text2], L" 10.0.0.7 ");

    ::SendMessageW(shown[form.Command5], BM_CLICK, 0, 0);

    const testing_support::Bytes command{0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 0x0A, 0x00, 0x00, 0x07};
    EXPECT_EQ(printer.connections(1), std::vector<testing_support::Bytes>{command});
    EXPECT_NE(form.PortHandle().value_or(-1), -1) << library.failureReason();
}

// The message box is modal; a helper thread reads it and answers OK, as the operator would.
TEST(FormWindow, ShowsTheFailureInAnErrorBoxOwnedByTheWindow) {
    testing_support::RecordingLibrary library;
    library.openResult = -1;
    ShownWindow shown{library};
    std::atomic<HWND> owner{nullptr};
    std::wstring caption;
    std::wstring text;
    std::thread answer([&] {
        for (int attempt = 0; attempt < 500; ++attempt) {
            HWND box = ::FindWindowW(L"#32770", nullptr);
            if (box != nullptr) {
                owner = ::GetWindow(box, GW_OWNER);
                wchar_t buffer[256];
                ::GetWindowTextW(box, buffer, 256);
                caption = buffer;
                ::GetDlgItemTextW(box, 0xFFFF, buffer, 256);  // the message's static text
                text = buffer;
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                return;
            }
            ::Sleep(10);
        }
    });
    ::SendMessageW(shown[shown.form().Command5], BM_CLICK, 0, 0);
    answer.join();

    EXPECT_EQ(owner.load(), shown.window.handle());
    EXPECT_EQ(caption, L"error");
    EXPECT_EQ(text, L"Fail to open port,please check!");
}

}  // namespace
}  // namespace setip::win32
