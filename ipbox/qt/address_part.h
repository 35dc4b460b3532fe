#pragma once

#include <QLineEdit>

namespace setip::qt {

// One of the address field's four parts: 0 to 255, or blank. A dot or a space moves on to the next part,
// backspace in an empty part moves back to the previous one, and the arrow keys cross to a neighbour at an end.
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
    void enterSelectingAll();
    void enterAt(qsizetype position);

    AddressPart* previous_ = nullptr;
    AddressPart* next_ = nullptr;
};

}  // namespace setip::qt
