#include "window/combo_box.h"

#include "common/error.h"

namespace setip {

ComboBox::ComboBox(std::string name, ComboStyle style, setip::Text initialText, Placement placement, int tabIndex)
    : Control(std::move(name), ControlKind::comboBox, placement, tabIndex),
      style_(style),
      // A list that only offers its items shows none of them until one is chosen.
      text_(style == ComboStyle::dropDownList ? setip::Text{} : std::move(initialText)) {}

void ComboBox::AddItem(TextView item, std::optional<std::int32_t> index) {
    const std::int32_t at = index.value_or(ListCount());
    if (at < 0 || at > ListCount()) throw Error::invalidCall();
    items_.insert(items_.begin() + at, setip::Text{item});
    if (listIndex_ != noSelection && listIndex_ >= at) ++listIndex_;
}

const setip::Text& ComboBox::List(std::int32_t index) const {
    if (index < 0 || index >= ListCount()) throw Error::invalidCall();
    return items_[static_cast<std::size_t>(index)];
}

void ComboBox::setListIndex(std::int32_t index) {
    if (index < noSelection || index >= ListCount()) throw Error::invalidCall();
    listIndex_ = index;
    text_ = index == noSelection ? setip::Text{} : items_[static_cast<std::size_t>(index)];
    if (click_) click_();
}

void ComboBox::operatorEdits(TextView text) {
    // A list that offers only its items has no text of its own to edit.
    if (style_ != ComboStyle::dropDownCombo) throw Error::invalidCall();
    text_ = text;
    listIndex_ = noSelection;
    if (change_) change_();
}

}  // namespace setip
