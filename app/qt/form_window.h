#pragma once

#include "printer/printer_library.h"
#include "window/form_model.h"
#include "window/installed_printers.h"
#include "window/native_control.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <ostream>
#include <vector>

namespace setip::qt {

// FrmTest drawn with Qt Widgets. Each widget reports the operator's picks, edits and presses to its control in
// the model and then the whole window is redrawn from the model; the widgets hold no state of their own.
class FormWindow final : public QWidget, private FrontEnd {
public:
    // Builds the widgets and runs the window's start-up, so it is ready to show.
    FormWindow(const InstalledPrinters& printers, PrinterLibrary& library, std::ostream& diagnostics);
    ~FormWindow() override;

    FrmTest& form() { return form_; }

private:
    void Cls() override;
    void showError(TextView title, TextView text) override;
    void showBusy() override;
    void showIdle() override;

    // Makes the widget that draws a control, at its place, and hands the operator's doings to the model.
    QWidget* widgetFor(Control& control);
    // The widget made for a control, found by the control's name.
    QWidget* findWidget(const Control& control) const;
    // Shrinks the default font where a caption or initial text would be cut off at its laid-out width.
    void fitFont();
    void orderTabsByTabIndex();
    void labelByBuddies();
    // Runs what Qt called, keeping any exception from going back into Qt, then redraws the window from the model.
    void fromQt(const std::function<void()>& action);

    std::ostream& diagnostics_;
    FrmTest form_;
    std::vector<std::unique_ptr<NativeControl>> natives_;  // in the order of form_.controls()
};

}  // namespace setip::qt
