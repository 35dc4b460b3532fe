#include "window/native_control.h"

#include "window/combo_box.h"

namespace setip {
namespace {

void drawCombo(const ComboBox& combo, NativeControl& native) {
    const bool editable = combo.style() == ComboStyle::dropDownCombo;
    if (const auto& wanted = combo.items(); native.items() != wanted) {
        const Text typed = native.text();
        native.setItems(wanted);
        if (editable) native.setText(typed);
    }
    // Picking shows the item's text; only an editable list can then differ from it, by what was typed.
    if (combo.ListIndex() != ComboBox::noSelection && native.picked() != combo.ListIndex()) native.pick(combo.ListIndex());
    if (editable) {
        if (native.text() != combo.Text()) native.setText(combo.Text());
    } else if (combo.ListIndex() == ComboBox::noSelection && native.picked() != ComboBox::noSelection) {
        native.pick(ComboBox::noSelection);
    }
}

}  // namespace

Text initialTextOf(const Control& control) {
    switch (control.kind()) {
        case ControlKind::label: return static_cast<const Label&>(control).caption();
        case ControlKind::commandButton: return static_cast<const CommandButton&>(control).caption();
        case ControlKind::textBox: return static_cast<const TextBox&>(control).Text();
        case ControlKind::comboBox: return {};
    }
    return {};
}

void drawControl(const Control& control, NativeControl& native) {
    native.setEnabled(control.Enabled());
    if (control.kind() == ControlKind::comboBox) {
        drawCombo(static_cast<const ComboBox&>(control), native);
    } else if (control.kind() == ControlKind::textBox) {
        if (const auto& wanted = static_cast<const TextBox&>(control).Text(); native.text() != wanted) {
            native.setText(wanted);
        }
    }
}

void operatorPicks(Control& control, std::int32_t index) {
    if (control.kind() == ControlKind::comboBox) static_cast<ComboBox&>(control).setListIndex(index);
}

void operatorEdits(Control& control, TextView text) {
    if (control.kind() == ControlKind::comboBox) {
        auto& combo = static_cast<ComboBox&>(control);
        if (combo.style() == ComboStyle::dropDownCombo) combo.operatorEdits(text);
    } else if (control.kind() == ControlKind::textBox) {
        static_cast<TextBox&>(control).setText(text);
    }
}

void operatorPresses(Control& control) {
    if (control.kind() == ControlKind::commandButton) static_cast<CommandButton&>(control).click();
}

}  // namespace setip
