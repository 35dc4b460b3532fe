#include "ipbox/qt/address_part.h"

#include "common/no_escape.h"

#include <QClipboard>
#include <QGuiApplication>
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
    const bool atStart = plain && cursorPosition() == 0;
    const bool atEnd = plain && cursorPosition() == text().size();
    if (event->text() == u"." || event->text() == u" ") {
        // An empty part has nothing to end: its dot is the one after three digits that moved on already.
        if (next_ && !text().isEmpty()) next_->enterSelectingAll();
    } else if (event->key() == Qt::Key_Backspace && atStart && previous_) {
        previous_->enterAt(previous_->text().size());
        previous_->backspace();
    } else if (event->key() == Qt::Key_Left && atStart && previous_) {
        previous_->enterAt(previous_->text().size());
    } else if (event->key() == Qt::Key_Right && atEnd && next_) {
        next_->enterAt(0);
    } else if (!event->matches(QKeySequence::Paste) || !pasteAddress(QGuiApplication::clipboard()->text())) {
        const QString before = text();
        QLineEdit::keyPressEvent(event);
        const bool digit = event->text().size() == 1 && event->text().front().isDigit();
        if (digit && next_ && text() != before && text().size() == 3 && cursorPosition() == 3) {
            next_->enterSelectingAll();
        }
        return;
    }
    event->accept();
}

bool AddressPart::pasteAddress(const QString& pasted) {
    const QStringList numbers = pasted.trimmed().split(u'.');
    if (numbers.size() != 4) return false;
    for (QString number : numbers) {
        int position = 0;
        if (number.isEmpty() || validator()->validate(number, position) != QValidator::Acceptable) return false;
    }
    AddressPart* part = this;
    while (part->previous_) part = part->previous_;
    for (const QString& number : numbers) {
        part->setText(number);
        if (!part->next_) break;
        part = part->next_;
    }
    part->enterAt(part->text().size());
    return true;
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
