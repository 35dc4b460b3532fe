#include "app/win32/form_window.h"

#include "app/win32/native_text.h"
#include "app/win32/resource.h"
#include "common/win32/no_escape_procedure.h"
#include "window/twips.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace setip::win32 {
namespace {

constexpr wchar_t className[] = L"SetipFrmTest";
constexpr int firstControlId = 100;  // clear of IDOK and IDCANCEL, which the dialog manager sends for Enter and Esc
// A fixed frame: a caption with the system menu, closing and minimising, and no sizing border.
constexpr DWORD frameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD frameExtendedStyle = WS_EX_CONTROLPARENT;
constexpr int droppedItems = 14;  // an open port list shows all its entries

int pixels(std::int32_t twips, UINT dpi) { return twipsToPixels(twips, static_cast<int>(dpi)); }

struct NativeKind {
    const wchar_t* windowClass;
    DWORD style;
};

NativeKind nativeKindOf(const Control& control) {
    switch (control.kind()) {
        case ControlKind::label: return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX};
        case ControlKind::textBox: return {L"EDIT", WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL};
        case ControlKind::commandButton: return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON};
        case ControlKind::comboBox: {
            const auto& combo = static_cast<const ComboBox&>(control);
            const DWORD kind = combo.style() == ComboStyle::dropDownCombo ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST;
            return {L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | kind};
        }
    }
    throw std::logic_error("a control of no known kind");
}

void registerClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpszClassName = className;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    windowClass.hIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(SETIP_ICON), IMAGE_ICON,
                                                        ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), 0));
    windowClass.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(SETIP_ICON), IMAGE_ICON,
                                                          ::GetSystemMetrics(SM_CXSMICON),
                                                          ::GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.lpfnWndProc = procedure;
    // Registering twice (a second window, a test) fails harmlessly with ERROR_CLASS_ALREADY_EXISTS.
    ::RegisterClassExW(&windowClass);
}

// A combo box is as tall as its font makes its selection field, whatever height it was created with; the field
// is sized so that the closed box has its height as laid out.
void fitComboHeight(HWND combo, int height) {
    // How the field's height becomes the box's differs between systems, so measure and correct; two rounds do.
    for (int round = 0; round < 3; ++round) {
        RECT rectangle{};
        ::GetWindowRect(combo, &rectangle);
        const auto off = height - (rectangle.bottom - rectangle.top);
        const auto field = ::SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
        if (off == 0 || field <= 0 || field + off <= 0) return;
        ::SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), static_cast<LPARAM>(field + off));
    }
}

}  // namespace

FormWindow::FormWindow(HINSTANCE instance, const InstalledPrinters& printers, PrinterLibrary& library,
                       std::ostream& diagnostics, DpiFunctions dpi)
    : form_(printers, *this, library, diagnostics), dpi_(dpi) {
    registerClass(instance, &noEscapeProcedure<&FormWindow::procedure>);
    ::CreateWindowExW(frameExtendedStyle, className, wideOf(formCaption).c_str(), frameStyle, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
    if (window_ == nullptr) throw std::runtime_error("cannot create the window");
    form_.Form_Load();
    sync();
}

FormWindow::~FormWindow() {
    if (window_ != nullptr) {
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        accessibleTexts_.clear();
        ::DestroyWindow(window_);
    }
}

HWND FormWindow::controlOf(const Control& control) const {
    const auto controls = form_.controls();
    const auto found = std::find(controls.begin(), controls.end(), &control);
    const auto index = static_cast<std::size_t>(found - controls.begin());
    return index < natives_.size() ? natives_[index].handle() : nullptr;
}

bool FormWindow::dropsKey(const MSG& message) const {
    if (message.message != WM_KEYDOWN && message.message != WM_CHAR && message.message != WM_KEYUP) return false;
    const bool enterOrEscape = message.message == WM_CHAR ? message.wParam == L'\r' || message.wParam == 0x1B
                                                          : message.wParam == VK_RETURN || message.wParam == VK_ESCAPE;
    if (!enterOrEscape || (message.hwnd != window_ && !::IsChild(window_, message.hwnd))) return false;
    return std::none_of(natives_.begin(), natives_.end(), [](const NativeWindow& native) {
        return native.kind() == ControlKind::comboBox && ::SendMessageW(native.handle(), CB_GETDROPPEDSTATE, 0, 0);
    });
}

LRESULT CALLBACK FormWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FormWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr) {
        switch (message) {
            case WM_CREATE: return self->onCreate();
            case WM_ACTIVATE: return self->onActivate(LOWORD(wParam));
            case WM_COMMAND: return self->onCommand(LOWORD(wParam), HIWORD(wParam));
            case WM_DPICHANGED: return self->onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            case WM_DESTROY: return self->onDestroy();
            default: break;
        }
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT FormWindow::onCreate() {
    createControls();
    nameControls();
    const UINT dpi = dpi_.dpiOf(window_);
    useFontFor(dpi);
    layOut(dpi);
    return 0;
}

// As a dialog does: the focus leaves with the window and comes back to the same control, or at first to the first
// control in tab order, so that the keyboard works from the first key and again after a message box.
LRESULT FormWindow::onActivate(WORD state) {
    if (state == WA_INACTIVE) {
        focused_ = focusedControl();
        return 0;
    }
    const auto takesFocus = [](HWND native) {
        return native != nullptr && ::IsWindowEnabled(native) && (::GetWindowLongW(native, GWL_STYLE) & WS_TABSTOP);
    };
    HWND target = takesFocus(focused_) ? focused_ : nullptr;
    for (auto native = natives_.begin(); target == nullptr && native != natives_.end(); ++native) {
        if (takesFocus(native->handle())) target = native->handle();
    }
    if (target != nullptr) ::SetFocus(target);
    return 0;
}

HWND FormWindow::focusedControl() const {
    const HWND focus = ::GetFocus();
    // An editable list has the focus in its edit field, a child of the list.
    const auto found = std::find_if(natives_.begin(), natives_.end(), [focus](const NativeWindow& native) {
        return focus != nullptr && (native.handle() == focus || ::IsChild(native.handle(), focus));
    });
    return found == natives_.end() ? focused_ : found->handle();
}

// Each notification is the operator's doing, by the kind of control that sent it: a pick in a list, typing in an
// editable list or a text box, a press of the button. The program's own changes to a list send none of these.
LRESULT FormWindow::onCommand(int id, int notification) {
    const auto index = static_cast<std::size_t>(id - firstControlId);
    if (id < firstControlId || index >= natives_.size()) return 0;  // IDOK, IDCANCEL: nothing to press
    Control& control = *form_.controls()[index];
    const NativeWindow& native = natives_[index];
    if (native.kind() == ControlKind::comboBox && notification == CBN_SELCHANGE) {
        operatorPicks(control, native.picked());
    } else if ((native.kind() == ControlKind::comboBox && notification == CBN_EDITCHANGE) ||
               (native.kind() == ControlKind::textBox && notification == EN_CHANGE)) {
        operatorEdits(control, native.text());
    } else if (native.kind() == ControlKind::commandButton && notification == BN_CLICKED) {
        operatorPresses(control);
    } else {
        return 0;
    }
    sync();
    return 0;
}

LRESULT FormWindow::onDpiChanged(UINT dpi, const RECT& suggested) {
    useFontFor(dpi);
    layOut(dpi);
    ::SetWindowPos(window_, nullptr, suggested.left, suggested.top, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    return 0;
}

LRESULT FormWindow::onDestroy() {
    accessibleTexts_.clear();
    window_ = nullptr;
    ::PostQuitMessage(0);
    return 0;
}

void FormWindow::createControls() {
    const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(window_, GWLP_HINSTANCE));
    int id = firstControlId;
    for (const Control* control : std::as_const(form_).controls()) {
        const NativeKind kind = nativeKindOf(*control);
        const DWORD extended = control->kind() == ControlKind::textBox ? WS_EX_CLIENTEDGE : 0;
        HWND native = ::CreateWindowExW(extended, kind.windowClass, wideOf(initialTextOf(*control)).c_str(),
                                        WS_CHILD | WS_VISIBLE | kind.style, 0, 0, 0, 0, window_,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance, nullptr);
        // The boxes take text of any length, not the edit control's default of about 30,000 characters; 0 lifts it.
        if (control->kind() == ControlKind::textBox) ::SendMessageW(native, EM_SETLIMITTEXT, 0, 0);
        if ((kind.style & CBS_DROPDOWNLIST) == CBS_DROPDOWN) ::SendMessageW(native, CB_LIMITTEXT, 0, 0);
        natives_.emplace_back(native, control->kind());
    }
}

// A screen reader names a box or list after the static text just before it in z-order, which is the order of
// creation; the dialog manager tabs through the controls with WS_TABSTOP in that same order. So each label, which
// takes no focus, moves to just before its control, and the tab order stays as it was. A control named without a
// label gets a label that is never shown, as Windows asks for controls whose caption does not show. Where Windows
// keeps annotations, the names set on the controls' accessible objects win: the model's, without the label's colon.
void FormWindow::nameControls() {
    const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(window_, GWLP_HINSTANCE));
    for (const Control* control : std::as_const(form_).controls()) {
        const HWND native = controlOf(*control);
        const Text name = control->accessibleName();
        HWND label = control->label() != nullptr ? controlOf(*control->label()) : nullptr;
        if (label == nullptr && !name.empty()) {
            label = ::CreateWindowExW(0, L"STATIC", wideOf(name).c_str(), WS_CHILD | SS_NOPREFIX, 0, 0, 0, 0, window_,
                                      nullptr, instance, nullptr);
        }
        if (label != nullptr && ::GetWindow(native, GW_HWNDPREV) != label) {
            const HWND before = ::GetWindow(native, GW_HWNDPREV);
            ::SetWindowPos(label, before != nullptr ? before : HWND_TOP, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        accessibleTexts_.annotate(native, name, control->accessibleDescription());
        // The focus in an editable list is in its edit field, which a screen reader names as the list.
        COMBOBOXINFO combo{};
        combo.cbSize = sizeof combo;
        if (control->kind() == ControlKind::comboBox && ::GetComboBoxInfo(native, &combo) &&
            combo.hwndItem != nullptr && combo.hwndItem != native) {
            accessibleTexts_.annotate(combo.hwndItem, name, {});
        }
    }
}

void FormWindow::useFontFor(UINT dpi) {
    UniqueFont scaled = guiFontFor(dpi);
    const HFONT font = scaled ? scaled.get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    for (const NativeWindow& native : natives_) {
        ::SendMessageW(native.handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    font_ = std::move(scaled);  // no control draws with the previous DPI's font any longer
}

void FormWindow::layOut(UINT dpi) {
    const auto controls = std::as_const(form_).controls();
    for (std::size_t index = 0; index < natives_.size(); ++index) {
        const Placement at = controls[index]->placement();
        const HWND native = natives_[index].handle();
        const int height = pixels(at.height, dpi);
        // An open list hangs below the closed box, which is as tall as laid out.
        const bool list = natives_[index].kind() == ControlKind::comboBox;
        ::MoveWindow(native, pixels(at.left, dpi), pixels(at.top, dpi), pixels(at.width, dpi),
                     list ? height * (droppedItems + 1) : height, TRUE);
        if (list) fitComboHeight(native, height);
    }
    const RECT frame = dpi_.frameAround({pixels(clientWidthTwips, dpi), pixels(clientHeightTwips, dpi)}, frameStyle,
                                        frameExtendedStyle, dpi);
    ::SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

void FormWindow::sync() {
    const auto controls = std::as_const(form_).controls();
    for (std::size_t index = 0; index < natives_.size(); ++index) drawControl(*controls[index], natives_[index]);
}

void FormWindow::Cls() { ::InvalidateRect(window_, nullptr, TRUE); }

void FormWindow::showError(TextView title, TextView text) {
    ::MessageBoxW(window_, wideOf(text).c_str(), wideOf(title).c_str(), MB_OK | MB_ICONERROR);
}

// The press runs inside one message, so nothing sets the cursor back until showIdle does.
void FormWindow::showBusy() { cursorBeforeWait_ = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT)); }

void FormWindow::showIdle() { ::SetCursor(cursorBeforeWait_); }

}  // namespace setip::win32
