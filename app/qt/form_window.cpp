#include "app/qt/form_window.h"

#include "common/no_escape.h"
#include "window/twips.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <limits>
#include <utility>

namespace setip::qt {
namespace {

QString toQString(TextView text) { return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())); }

// The boxes take text of any length Qt can hold, not QLineEdit's default of 32,767 characters.
constexpr int anyLength = std::numeric_limits<int>::max();

Text toText(const QString& text) { return Text{reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())}; }

// A widget as the model's drawing sees it. Labels and buttons only change their enabled flag.
class Widget final : public NativeControl {
public:
    explicit Widget(QWidget& widget)
        : widget_(widget), combo_(qobject_cast<QComboBox*>(&widget)), edit_(qobject_cast<QLineEdit*>(&widget)) {}

    void setEnabled(bool enabled) override { widget_.setEnabled(enabled); }
    Text text() const override {
        return toText(combo_ != nullptr ? combo_->currentText() : edit_ != nullptr ? edit_->text() : QString{});
    }
    void setText(TextView text) override {
        if (combo_ != nullptr) combo_->setEditText(toQString(text));
        if (edit_ != nullptr) edit_->setText(toQString(text));
    }
    std::vector<Text> items() const override {
        std::vector<Text> items;
        for (int index = 0; combo_ != nullptr && index < combo_->count(); ++index) items.push_back(toText(combo_->itemText(index)));
        return items;
    }
    void setItems(const std::vector<Text>& items) override {
        combo_->clear();
        for (const Text& item : items) combo_->addItem(toQString(item));
    }
    // Qt keeps the index of the last pick while the operator types in an editable list; only its text counts.
    std::int32_t picked() const override { return combo_->isEditable() ? -1 : combo_->currentIndex(); }
    void pick(std::int32_t index) override {
        if (!combo_->isEditable()) combo_->setCurrentIndex(index);
    }

private:
    QWidget& widget_;
    QComboBox* combo_;
    QLineEdit* edit_;
};

}  // namespace

FormWindow::FormWindow(const InstalledPrinters& printers, PrinterLibrary& library, std::ostream& diagnostics)
    : diagnostics_(diagnostics), form_(printers, *this, library, diagnostics) {
    setWindowTitle(toQString(formCaption));
    setFixedSize(twipsToPixels(clientWidthTwips, logicalDpiX()), twipsToPixels(clientHeightTwips, logicalDpiY()));
    for (Control* control : form_.controls()) natives_.push_back(std::make_unique<Widget>(*widgetFor(*control)));
    fitFont();
    orderTabsByTabIndex();
    labelByBuddies();
    form_.Form_Load();
    fromQt([] {});
}

FormWindow::~FormWindow() = default;

QWidget* FormWindow::widgetFor(Control& control) {
    QWidget* widget = nullptr;
    const QString text = toQString(initialTextOf(control));
    switch (control.kind()) {
        case ControlKind::label: {
            auto* label = new QLabel(text, this);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = label;
            break;
        }
        case ControlKind::textBox: {
            auto* edit = new QLineEdit(text, this);
            edit->setMaxLength(anyLength);
            connect(edit, &QLineEdit::textEdited, this,
                    [this, &control](const QString& typed) { fromQt([&] { operatorEdits(control, toText(typed)); }); });
            widget = edit;
            break;
        }
        case ControlKind::comboBox: {
            auto* combo = new QComboBox(this);
            if (static_cast<const ComboBox&>(control).style() == ComboStyle::dropDownCombo) {
                combo->setEditable(true);
                combo->lineEdit()->setMaxLength(anyLength);
                // The text is exactly what the operator typed: no completion, and Enter adds no item.
                combo->setCompleter(nullptr);
                combo->setInsertPolicy(QComboBox::NoInsert);
                connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this, &control](const QString& typed) {
                    fromQt([&] { operatorEdits(control, toText(typed)); });
                });
            }
            // Picking an item, with the mouse or the arrow keys, is a click; typing, deleting or pasting is a
            // change. Both signals come from the operator only, so the program's own changes raise nothing.
            connect(combo, &QComboBox::activated, this,
                    [this, &control](int index) { fromQt([&] { operatorPicks(control, index); }); });
            widget = combo;
            break;
        }
        case ControlKind::commandButton: {
            auto* button = new QPushButton(text, this);
            // Neither the default nor the cancel button: Enter and Esc press nothing.
            button->setAutoDefault(false);
            button->setDefault(false);
            connect(button, &QPushButton::clicked, this, [this, &control] { fromQt([&] { operatorPresses(control); }); });
            widget = button;
            break;
        }
    }
    const Placement at = control.placement();
    widget->setObjectName(QString::fromStdString(control.name()));
    // A box or list shows no caption of its own: unnamed, a screen reader reads out only what it holds.
    if (const Text name = control.accessibleName(); !name.empty()) widget->setAccessibleName(toQString(name));
    widget->setAccessibleDescription(toQString(control.accessibleDescription()));
    widget->setGeometry(twipsToPixels(at.left, logicalDpiX()), twipsToPixels(at.top, logicalDpiY()),
                        twipsToPixels(at.width, logicalDpiX()), twipsToPixels(at.height, logicalDpiY()));
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->setCursorPosition(0);  // the start of a long text
    return widget;
}

QWidget* FormWindow::findWidget(const Control& control) const {
    return findChild<QWidget*>(QString::fromStdString(control.name()));
}

// The window was laid out for a smaller default font than Linux desktops use. When a caption or an initial text
// would be cut off at the default size, the whole window takes the largest smaller size of the same font at
// which all of them fit; positions and sizes stay as laid out.
void FormWindow::fitFont() {
    constexpr qreal smallest = 6.0;
    constexpr int frameAndMargins = 8;  // of a text box, around its text
    struct Fit {
        QString text;
        int width;
    };
    std::vector<Fit> fits;
    for (const Control* control : form_.controls()) {
        const QWidget* widget = findWidget(*control);
        if (control->kind() == ControlKind::label) fits.push_back({toQString(initialTextOf(*control)), widget->width()});
        if (control->kind() == ControlKind::textBox) {
            fits.push_back({toQString(initialTextOf(*control)), widget->width() - frameAndMargins});
        }
    }
    QFont fitted = font();
    if (fitted.pointSizeF() <= 0) return;  // sized in pixels: leave it
    const auto cutOff = [&fits](const QFont& candidate) {
        const QFontMetrics metrics(candidate);
        return std::any_of(fits.begin(), fits.end(),
                           [&metrics](const Fit& fit) { return metrics.horizontalAdvance(fit.text) > fit.width; });
    };
    while (cutOff(fitted) && fitted.pointSizeF() > smallest) fitted.setPointSizeF(fitted.pointSizeF() - 0.5);
    if (fitted != font()) setFont(fitted);
}

void FormWindow::orderTabsByTabIndex() {
    const auto controls = std::as_const(form_).controls();
    std::vector<const Control*> focusable;
    std::copy_if(controls.begin(), controls.end(), std::back_inserter(focusable),
                 [](const Control* control) { return control->kind() != ControlKind::label; });
    std::sort(focusable.begin(), focusable.end(),
              [](const Control* a, const Control* b) { return a->tabIndex() < b->tabIndex(); });
    for (std::size_t index = 1; index < focusable.size(); ++index) {
        setTabOrder(findWidget(*focusable[index - 1]), findWidget(*focusable[index]));
    }
}

// On Linux Qt names a list by its current item and leaves its label to a relation, as desktop lists are; the label
// is the list's buddy, and each box's too.
void FormWindow::labelByBuddies() {
    for (const Control* control : std::as_const(form_).controls()) {
        if (const Label* label = control->label()) {
            qobject_cast<QLabel*>(findWidget(*label))->setBuddy(findWidget(*control));
        }
    }
}

void FormWindow::fromQt(const std::function<void()>& action) {
    noEscape(diagnostics_, action);
    noEscape(diagnostics_, [this] {
        const auto controls = std::as_const(form_).controls();
        for (std::size_t index = 0; index < natives_.size(); ++index) drawControl(*controls[index], *natives_[index]);
    });
}

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
