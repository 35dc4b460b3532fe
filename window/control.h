#pragma once

#include "common/text.h"

#include <cstdint>
#include <functional>
#include <string>

namespace setip {

// Where a control sits in the window's client area, in twips (1440 to the inch).
struct Placement {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    friend bool operator==(const Placement&, const Placement&) = default;
};

enum class ControlKind { label, textBox, comboBox, commandButton };

class Label;

// What every control of the window has: its designer name, kind, place, tab index and enabled flag, and what a
// screen reader says of it. Controls start enabled; the window changes the flag, and the front end only shows it.
class Control {
public:
    Control(std::string name, ControlKind kind, Placement placement, int tabIndex)
        : name_(std::move(name)), kind_(kind), placement_(placement), tabIndex_(tabIndex) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return name_; }
    ControlKind kind() const { return kind_; }
    Placement placement() const { return placement_; }
    int tabIndex() const { return tabIndex_; }

    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }

    // The label shown beside the control that names it, if any.
    const Label* label() const { return label_; }
    void nameBy(const Label& label) { label_ = &label; }
    // What a screen reader calls the control: its label's caption without the colon, or a name of its own where no
    // label shows what it is; empty where its own caption names it.
    setip::Text accessibleName() const;
    void setAccessibleName(TextView name) { accessibleName_ = name; }
    // What the control does, where its name does not say.
    const setip::Text& accessibleDescription() const { return accessibleDescription_; }
    void setAccessibleDescription(TextView description) { accessibleDescription_ = description; }

private:
    std::string name_;
    ControlKind kind_;
    Placement placement_;
    int tabIndex_;
    bool enabled_ = true;
    const Label* label_ = nullptr;
    setip::Text accessibleName_;
    setip::Text accessibleDescription_;
};

using EventHandler = std::function<void()>;

class Label final : public Control {
public:
    Label(std::string name, Text caption, Placement placement, int tabIndex)
        : Control(std::move(name), ControlKind::label, placement, tabIndex), caption_(std::move(caption)) {}
    const Text& caption() const { return caption_; }

private:
    Text caption_;
};

// A single-line text box. Its text is whatever the operator typed, unchecked; no handler listens to it.
class TextBox final : public Control {
public:
    TextBox(std::string name, setip::Text text, Placement placement, int tabIndex)
        : Control(std::move(name), ControlKind::textBox, placement, tabIndex), text_(std::move(text)) {}
    const setip::Text& Text() const { return text_; }
    void setText(TextView text) { text_ = text; }

private:
    setip::Text text_;
};

class CommandButton final : public Control {
public:
    CommandButton(std::string name, Text caption, Placement placement, int tabIndex)
        : Control(std::move(name), ControlKind::commandButton, placement, tabIndex), caption_(std::move(caption)) {}
    const Text& caption() const { return caption_; }

    void onClick(EventHandler handler) { click_ = std::move(handler); }
    // The operator pressed the button.
    void click() const {
        if (click_) click_();
    }

private:
    Text caption_;
    EventHandler click_;
};

}  // namespace setip
