#pragma once

#include "app/win32/accessible_texts.h"
#include "app/win32/dpi.h"
#include "app/win32/gdi_handles.h"
#include "app/win32/native_window.h"
#include "printer/printer_library.h"
#include "window/form_model.h"
#include "window/installed_printers.h"

#include <windows.h>

#include <ostream>
#include <vector>

namespace setip::win32 {

// FrmTest drawn with the system's own controls. Each control reports the operator's picks, edits and presses to
// its control in the model, and then the whole window is redrawn from the model; the controls hold no state of
// their own that the model does not have.
class FormWindow final : private FrontEnd {
public:
    // Creates the window and its controls and runs the window's start-up, so it is ready to show. `dpi` is how the
    // window learns its DPI; the tests give it a system's without the newer functions.
    FormWindow(HINSTANCE instance, const InstalledPrinters& printers, PrinterLibrary& library,
               std::ostream& diagnostics, DpiFunctions dpi = DpiFunctions::ofSystem());
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND handle() const { return window_; }
    FrmTest& form() { return form_; }
    // The native control that draws a control of the model.
    HWND controlOf(const Control& control) const;

    // Enter and Esc press nothing: the dialog manager would press the focused button or send IDOK and IDCANCEL.
    // True for such a key, which the message loop then drops, unless a list is open and takes the key itself.
    bool dropsKey(const MSG& message) const;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onCreate();
    LRESULT onActivate(WORD state);
    LRESULT onCommand(int id, int notification);
    LRESULT onDpiChanged(UINT dpi, const RECT& suggested);
    LRESULT onDestroy();

    void Cls() override;
    void showError(TextView title, TextView text) override;
    void showBusy() override;
    void showIdle() override;

    void createControls();
    // Gives each control the name and description a screen reader says of it.
    void nameControls();
    // Gives every control the default GUI font made for the DPI, and releases the font made for the previous one.
    void useFontFor(UINT dpi);
    // Places every control at its twips for the window's DPI, and sizes the client area to match.
    void layOut(UINT dpi);
    // Brings every control in line with the model, touching only what differs, so a caret or typed text stays.
    void sync();

    // The control that gets the focus back when the window is activated again; none before the first activation.
    HWND focusedControl() const;

    FrmTest form_;
    AccessibleTexts accessibleTexts_;
    DpiFunctions dpi_;
    UniqueFont font_;  // the GUI font scaled to the window's DPI, when that differs from the system's
    HWND window_ = nullptr;
    HWND focused_ = nullptr;
    HCURSOR cursorBeforeWait_ = nullptr;
    std::vector<NativeWindow> natives_;  // in the order of form_.controls(), which is tab-index order
};

}  // namespace setip::win32
