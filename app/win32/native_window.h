#pragma once

#include "window/native_control.h"

#include <windows.h>

namespace setip::win32 {

// One of the system's controls as the model's drawing sees it. Labels and buttons only change their enabled flag.
class NativeWindow final : public NativeControl {
public:
    NativeWindow(HWND handle, ControlKind kind) : handle_(handle), kind_(kind) {}

    HWND handle() const { return handle_; }
    ControlKind kind() const { return kind_; }

    void setEnabled(bool enabled) override;
    Text text() const override;
    void setText(TextView text) override;
    std::vector<Text> items() const override;
    void setItems(const std::vector<Text>& items) override;
    std::int32_t picked() const override;
    void pick(std::int32_t index) override;

private:
    HWND handle_;
    ControlKind kind_;
};

}  // namespace setip::win32
