#pragma once

#include "common/text.h"
#include "window/control.h"

#include <cstdint>
#include <vector>

namespace setip {

// One control as a front end's toolkit draws it. The model decides what a control shows; a front end only says
// how its toolkit reads and changes that.
class NativeControl {
public:
    virtual ~NativeControl() = default;
    virtual void setEnabled(bool enabled) = 0;
    // What the control shows in its own text: a text box's text, an editable list's field, a fixed list's pick.
    virtual Text text() const = 0;
    virtual void setText(TextView text) = 0;
    // A list's items, and the index of the one picked (-1 for none).
    virtual std::vector<Text> items() const = 0;
    virtual void setItems(const std::vector<Text>& items) = 0;
    virtual std::int32_t picked() const = 0;
    virtual void pick(std::int32_t index) = 0;
};

// What a control shows when it is made: a label's or button's caption, a text box's text, nothing for a list.
Text initialTextOf(const Control& control);

// Brings a native control in line with its control in the model, touching only what differs, so that a caret or
// the operator's typing stays where it is.
void drawControl(const Control& control, NativeControl& native);

// What the operator did to a control, as the toolkit reports it, made the model's own event by the control's
// kind: a pick in a list sets its index, an edit changes an editable list or a text box, a press clicks a button.
void operatorPicks(Control& control, std::int32_t index);
void operatorEdits(Control& control, TextView text);
void operatorPresses(Control& control);

}  // namespace setip
