#pragma once

#include "printer/library.h"
#include "printer/press.h"
#include "window/drawing_surface.h"
#include "window/frm_test.h"
#include "window/installed_printers.h"

#include <QWidget>

#include <functional>
#include <ostream>

class QComboBox;
class QLineEdit;

namespace setip::qt {

// FrmTest drawn with Qt Widgets. Each widget reports the operator's picks, edits and presses to its control in
// the model and then the whole window is redrawn from the model; the widgets hold no state of their own.
class FormWindow final : public QWidget, private DrawingSurface, private OperatorMessages {
public:
    // Builds the widgets and runs the window's start-up, so it is ready to show.
    FormWindow(const InstalledPrinters& printers, PrinterLibrary& library, std::ostream& diagnostics);

    FrmTest& form() { return form_; }

private:
    void Cls() override;
    void showError(TextView title, TextView text) override;
    void showBusy() override;
    void showIdle() override;
    // Runs what Qt called, keeping any exception from going back into Qt.
    void fromQt(const std::function<void()>& action);

    QWidget* place(QWidget* widget, const Control& control);
    QComboBox* comboFor(ComboBox& control);
    QLineEdit* textBoxFor(TextBox& control);
    // Brings every widget in line with the model, touching only what differs, so a caret or typed text stays.
    void sync();

    std::ostream& diagnostics_;
    FrmTest form_;
    struct Pair {
        const Control* control;
        QWidget* widget;
    };
    std::vector<Pair> widgets_;
};

}  // namespace setip::qt
