#pragma once

#include "window/control.h"

#include <optional>
#include <vector>

namespace setip {

enum class ComboStyle {
    dropDownCombo,  // editable: the text is whatever the operator typed or picked
    dropDownList,   // a choice from the items only: the text is the selected item, or empty
};

// A drop-down list of items in the order they were added, never sorted.
class ComboBox final : public Control {
public:
    static constexpr std::int32_t noSelection = -1;

    ComboBox(std::string name, ComboStyle style, setip::Text initialText, Placement placement, int tabIndex);

    ComboStyle style() const { return style_; }

    // Inserts `item` at `index`, or appends it when no index is given. An index past the end raises error 5.
    // The selection stays on the item it was on.
    void AddItem(TextView item, std::optional<std::int32_t> index = std::nullopt);
    std::int32_t ListCount() const { return static_cast<std::int32_t>(items_.size()); }
    const setip::Text& List(std::int32_t index) const;
    // Every item, in list order.
    const std::vector<setip::Text>& items() const { return items_; }

    std::int32_t ListIndex() const { return listIndex_; }
    // Selects the item at `index` (-1 selects none) and raises the click event, whether the operator picked the
    // item or the program assigned the index. An index the list does not have raises error 5.
    void setListIndex(std::int32_t index);

    const setip::Text& Text() const { return text_; }
    // The operator typed, deleted or pasted in an editable list: its text becomes `text` and the change event
    // runs. Nothing in the list is selected any more.
    void operatorEdits(TextView text);

    void onClick(EventHandler handler) { click_ = std::move(handler); }
    void onChange(EventHandler handler) { change_ = std::move(handler); }
    const EventHandler& clickHandler() const { return click_; }
    const EventHandler& changeHandler() const { return change_; }

private:
    ComboStyle style_;
    std::vector<setip::Text> items_;
    std::int32_t listIndex_ = noSelection;
    setip::Text text_;
    EventHandler click_;
    EventHandler change_;
};

}  // namespace setip
