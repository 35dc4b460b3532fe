#pragma once

#include <QLineEdit>

namespace setip::qt {

// One of the address field's four parts: 0 to 255, or blank. It types as the system's field does: a third digit
// typed at the end, or a dot or a space after a number, moves on to the next part; backspace at the start goes back
// and deletes the previous part's last digit; the arrow keys cross to a neighbour at an end; and pasting a dotted
// address fills all four parts.
class AddressPart : public QLineEdit {
public:
    explicit AddressPart(QWidget* parent);

    void setNeighbours(AddressPart* previous, AddressPart* next);

    // The part's number; a blank part reads as 0.
    int value() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void takeKey(QKeyEvent* event);
    // Fills the field's four parts when the text is four numbers joined by dots; false, changing nothing, if not.
    bool pasteAddress(const QString& pasted);
    void enterSelectingAll();
    void enterAt(qsizetype position);

    AddressPart* previous_ = nullptr;
    AddressPart* next_ = nullptr;
};

}  // namespace setip::qt
