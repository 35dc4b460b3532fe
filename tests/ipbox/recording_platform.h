#pragma once

#include "ipbox/ip_box.h"

#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace setip::testing_support {

// One recorded call: its name and arguments, separated by blanks.
std::string call(const char* name, const auto&... arguments) {
    std::ostringstream out;
    out << name;
    ((out << ' ' << arguments), ...);
    return out.str();
}

// A host of window 3 that owns an ipBox and raises its initialise on construction, as the Qt host does, and the
// platform beneath it: it records every call and keeps each created field's packed address, as the system field
// would. Its inner size is fractional, as a scale conversion can give. Creation gives `nextWindow` (0: it fails).
struct RecordingHost final : UserControl, PlatformOperations {
    double width = 132.5;
    double height = 19.5;
    WindowHandle nextWindow;
    std::vector<std::string> calls;
    std::map<WindowHandle, std::uint32_t> fields;
    ipBox box{*this, *this};

    explicit RecordingHost(WindowHandle field = 7) : nextWindow(field) { box.UserControl_Initialize(); }

    WindowHandle hWnd() const override { return 3; }
    double ScaleWidth() const override { return width; }
    double ScaleHeight() const override { return height; }
    InstanceHandle hInstance() const override { return 0x400000; }

    WindowHandle CreateWindowExA(std::uint32_t exStyle, const char* className, const char* text, std::uint32_t style,
                                 std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, WindowHandle parent,
                                 std::intptr_t childId, InstanceHandle instance, void* creationData) override {
        calls.push_back(call("CreateWindowExA", exStyle, className, '"' + std::string(text) + '"', style, x, y, w, h,
                             parent, childId, instance, creationData == nullptr));
        if (nextWindow != 0) fields[nextWindow] = 0;
        return nextWindow;
    }
    // A stock object's handle is its number, so WM_SETFONT shows which object was asked for.
    ObjectHandle GetStockObject(std::int32_t object) override { return static_cast<ObjectHandle>(object); }
    LResult SendMessageA(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) override {
        const bool toVariable = message == 1126;  // lParam is then a pointer, recorded as 0
        calls.push_back(call("SendMessageA", window, message, wParam, toVariable ? 0 : lParam));
        if (fields.contains(window) && message == 1125) fields[window] = static_cast<std::uint32_t>(lParam);
        if (fields.contains(window) && toVariable) *reinterpret_cast<std::uint32_t*>(lParam) = fields[window];
        return 0;
    }
    bool MoveWindow(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                    bool repaint) override {
        calls.push_back(call("MoveWindow", window, x, y, w, h, repaint));
        return true;
    }
};

}  // namespace setip::testing_support
