#include "app/qt/form_window.h"

#include "app/qt/twips.h"
#include "common/no_escape.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace setip::qt {
namespace {

QString toQString(TextView text) { return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())); }

Text toText(const QString& text) { return Text{reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())}; }

void syncCombo(const ComboBox& control, QComboBox& widget) {
    bool sameItems = widget.count() == control.ListCount();
    for (int index = 0; sameItems && index < widget.count(); ++index) {
        sameItems = widget.itemText(index) == toQString(control.List(index));
    }
    if (!sameItems) {
        const QString typed = widget.currentText();
        widget.clear();
        for (std::int32_t index = 0; index < control.ListCount(); ++index) widget.addItem(toQString(control.List(index)));
        if (widget.isEditable()) widget.setEditText(typed);
    }
    if (widget.isEditable()) {
        // Qt keeps the index of the last pick while the operator types; only the text counts here.
        if (widget.currentText() != toQString(control.Text())) widget.setEditText(toQString(control.Text()));
    } else if (widget.currentIndex() != control.ListIndex()) {
        widget.setCurrentIndex(control.ListIndex());
    }
}

// The window was laid out for a smaller default font than Linux desktops use. When a caption or an initial text
// would be cut off at the default size, the whole window takes the largest smaller size of the same font at
// which all of them fit; positions and sizes stay as laid out.
struct Fit {
    QString text;
    int width;
};

void fitFont(QWidget& window, const std::vector<Fit>& fits) {
    constexpr qreal smallest = 6.0;
    QFont font = window.font();
    if (font.pointSizeF() <= 0) return;  // sized in pixels: leave it
    const auto cutOff = [&fits](const QFont& candidate) {
        const QFontMetrics metrics(candidate);
        return std::any_of(fits.begin(), fits.end(),
                           [&metrics](const Fit& fit) { return metrics.horizontalAdvance(fit.text) > fit.width; });
    };
    while (cutOff(font) && font.pointSizeF() > smallest) font.setPointSizeF(font.pointSizeF() - 0.5);
    if (font != window.font()) window.setFont(font);
}

}  // namespace

FormWindow::FormWindow(const InstalledPrinters& printers, PrinterLibrary& library, std::ostream& diagnostics)
    : diagnostics_(diagnostics), form_(printers, *this, *this, library, diagnostics) {
    setWindowTitle(toQString(formCaption));
    const int dpiX = logicalDpiX();
    const int dpiY = logicalDpiY();
    setFixedSize(twipsToPixels(clientWidthTwips, dpiX), twipsToPixels(clientHeightTwips, dpiY));

    std::vector<Fit> fits;
    for (const Label* label : {&form_.Label1, &form_.Label2, &form_.Label3, &form_.Label4}) {
        auto* widget = new QLabel(toQString(label->caption()), this);
        widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        place(widget, *label);
        fits.push_back({widget->text(), widget->width()});
    }
    auto* combo1 = comboFor(form_.Combo1);
    comboFor(form_.Combo2);
    comboFor(form_.Combo3);
    for (QLineEdit* box : {textBoxFor(form_.Text1), textBoxFor(form_.Text2)}) {
        constexpr int frameAndMargins = 8;
        fits.push_back({box->text(), box->width() - frameAndMargins});
    }
    fitFont(*this, fits);

    auto* button = new QPushButton(toQString(form_.Command5.caption()), this);
    // Neither the default nor the cancel button: Enter and Esc press nothing.
    button->setAutoDefault(false);
    button->setDefault(false);
    place(button, form_.Command5);
    connect(button, &QPushButton::clicked, this, [this] {
        fromQt([this] { form_.Command5.click(); });
        fromQt([this] { sync(); });
    });

    // Picking an item, with the mouse or the arrow keys, is a click; typing, deleting or pasting is a change.
    // Both signals come from the operator only, so the program's own text changes raise nothing.
    connect(combo1, &QComboBox::activated, this, [this](int index) {
        fromQt([&] {
            form_.Combo1.setListIndex(index);
            sync();
        });
    });
    connect(combo1->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        fromQt([&] {
            form_.Combo1.operatorEdits(toText(text));
            sync();
        });
    });

    std::vector<Pair> focusable;
    std::copy_if(widgets_.begin(), widgets_.end(), std::back_inserter(focusable),
                 [](const Pair& pair) { return pair.control->kind() != ControlKind::label; });
    std::sort(focusable.begin(), focusable.end(),
              [](const Pair& a, const Pair& b) { return a.control->tabIndex() < b.control->tabIndex(); });
    for (std::size_t index = 1; index < focusable.size(); ++index) {
        setTabOrder(focusable[index - 1].widget, focusable[index].widget);
    }

    form_.Form_Load();
    sync();
}

QWidget* FormWindow::place(QWidget* widget, const Control& control) {
    const Placement at = control.placement();
    const int dpiX = logicalDpiX();
    const int dpiY = logicalDpiY();
    widget->setObjectName(QString::fromStdString(control.name()));
    widget->setGeometry(twipsToPixels(at.left, dpiX), twipsToPixels(at.top, dpiY), twipsToPixels(at.width, dpiX),
                        twipsToPixels(at.height, dpiY));
    widgets_.push_back({&control, widget});
    return widget;
}

QComboBox* FormWindow::comboFor(ComboBox& control) {
    auto* widget = new QComboBox(this);
    if (control.style() == ComboStyle::dropDownCombo) {
        widget->setEditable(true);
        // The text is exactly what the operator typed: no completion, and Enter adds no item.
        widget->setCompleter(nullptr);
        widget->setInsertPolicy(QComboBox::NoInsert);
        widget->setEditText(toQString(control.Text()));
    } else {
        connect(widget, &QComboBox::activated, this, [this, &control](int index) {
            fromQt([&] {
                control.setListIndex(index);
                sync();
            });
        });
    }
    place(widget, control);
    return widget;
}

QLineEdit* FormWindow::textBoxFor(TextBox& control) {
    auto* widget = new QLineEdit(toQString(control.Text()), this);
    connect(widget, &QLineEdit::textEdited, this,
            [this, &control](const QString& text) { fromQt([&] { control.setText(toText(text)); }); });
    place(widget, control);
    widget->setCursorPosition(0);  // show the start of a text longer than the box
    return widget;
}

void FormWindow::sync() {
    for (const auto& [control, widget] : widgets_) {
        widget->setEnabled(control->Enabled());
        if (const auto* combo = dynamic_cast<const ComboBox*>(control)) {
            syncCombo(*combo, *static_cast<QComboBox*>(widget));
        } else if (const auto* box = dynamic_cast<const TextBox*>(control)) {
            auto* edit = static_cast<QLineEdit*>(widget);
            if (edit->text() != toQString(box->Text())) edit->setText(toQString(box->Text()));
        }
    }
}

void FormWindow::fromQt(const std::function<void()>& action) { noEscape(diagnostics_, action); }

void FormWindow::Cls() { update(); }

void FormWindow::showError(TextView title, TextView text) {
    // The press writes its line breaks the Windows way; Qt breaks lines at \n alone.
    QString shown = toQString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(QMessageBox::Critical, toQString(title), shown, QMessageBox::Ok, this);
    box.exec();
}

void FormWindow::showBusy() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void FormWindow::showIdle() { QApplication::restoreOverrideCursor(); }

}  // namespace setip::qt
