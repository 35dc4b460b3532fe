#pragma once

#include "ipbox/ip_box.h"

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
// platform beneath it: it records every call, and the field it creates, window 7, keeps its packed address as the
// system field would. Its inner size is fractional, as a scale conversion can give.
struct RecordingHost final : UserControl, PlatformOperations {
    static constexpr WindowHandle fieldWindow = 7;
    double width = 132.5;
    double height = 19.5;
    std::vector<std::string> calls;
    std::uint32_t field = 0;
    ipBox box{*this, *this};

    RecordingHost() { box.UserControl_Initialize(); }

    WindowHandle hWnd() const override { return 3; }
    double ScaleWidth() const override { return width; }
    double ScaleHeight() const override { return height; }
    InstanceHandle hInstance() const override { return 0x400000; }

    WindowHandle CreateWindowExA(std::uint32_t exStyle, const char* className, const char* text, std::uint32_t style,
                                 std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, WindowHandle parent,
                                 std::intptr_t childId, InstanceHandle instance, void* creationData) override {
        calls.push_back(call("CreateWindowExA", exStyle, className, '"' + std::string(text) + '"', style, x, y, w, h,
                             parent, childId, instance, creationData == nullptr));
        return fieldWindow;
    }
    // A stock object's handle is its number, so WM_SETFONT shows which object was asked for.
    ObjectHandle GetStockObject(std::int32_t object) override { return static_cast<ObjectHandle>(object); }
    LResult SendMessageA(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) override {
        const bool toVariable = message == 1126;  // lParam is then a pointer, recorded as 0
        calls.push_back(call("SendMessageA", window, message, wParam, toVariable ? 0 : lParam));
        if (window == fieldWindow && message == 1125) field = static_cast<std::uint32_t>(lParam);
        if (window == fieldWindow && toVariable) *reinterpret_cast<std::uint32_t*>(lParam) = field;
        return 0;
    }
    bool MoveWindow(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                    bool repaint) override {
        calls.push_back(call("MoveWindow", window, x, y, w, h, repaint));
        return true;
    }
};

}  // namespace setip::testing_support
