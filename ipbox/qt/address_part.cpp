#include "ipbox/qt/address_part.h"

#include "common/no_escape.h"

#include <QKeyEvent>
#include <QValidator>

#include <iostream>

namespace setip::qt {
namespace {

// Refuses every edit that would leave anything but up to three digits worth 0 to 255, typed or pasted.
class PartValidator final : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override {
        return noEscape(std::cerr, [&input] {
            if (input.size() > 3) return Invalid;
            for (const QChar character : input) {
                if (character < u'0' || character > u'9') return Invalid;
            }
            return input.isEmpty() || input.toInt() <= 255 ? Acceptable : Invalid;
        }, Invalid);
    }
};

}  // namespace

AddressPart::AddressPart(QWidget* parent) : QLineEdit(parent) {
    setValidator(new PartValidator(this));
    setFrame(false);
    setAlignment(Qt::AlignCenter);
    setContextMenuPolicy(Qt::NoContextMenu);
    // Tab enters and leaves the field as a whole, as on the system field; the keys above move between parts.
    setFocusPolicy(Qt::ClickFocus);
}

void AddressPart::setNeighbours(AddressPart* previous, AddressPart* next) {
    previous_ = previous;
    next_ = next;
}

int AddressPart::value() const { return text().toInt(); }

void AddressPart::keyPressEvent(QKeyEvent* event) {
    noEscape(std::cerr, [this, event] { takeKey(event); });
}

void AddressPart::takeKey(QKeyEvent* event) {
    const bool plain = !hasSelectedText();
    if (event->text() == u"." || event->text() == u" ") {
        if (next_) next_->enterSelectingAll();
    } else if (event->key() == Qt::Key_Backspace && text().isEmpty()) {
        if (previous_) previous_->enterAt(previous_->text().size());
    } else if (event->key() == Qt::Key_Left && plain && cursorPosition() == 0 && previous_) {
        previous_->enterAt(previous_->text().size());
    } else if (event->key() == Qt::Key_Right && plain && cursorPosition() == text().size() && next_) {
        next_->enterAt(0);
    } else {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
}

void AddressPart::enterSelectingAll() {
    setFocus(Qt::OtherFocusReason);
    selectAll();
}

void AddressPart::enterAt(qsizetype position) {
    setFocus(Qt::OtherFocusReason);
    deselect();
    setCursorPosition(static_cast<int>(position));
}

}  // namespace setip::qt
