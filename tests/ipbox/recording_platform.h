#pragma once

#include "ipbox/platform_operations.h"
#include "ipbox/user_control.h"

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

struct FakeHost final : UserControl {
    double width = 132;
    double height = 19;
    WindowHandle hWnd() const override { return 3; }
    double ScaleWidth() const override { return width; }
    double ScaleHeight() const override { return height; }
    InstanceHandle hInstance() const override { return 0x400000; }
};

// Records every call and keeps each created field's packed address, as the system field would.
struct RecordingPlatform final : PlatformOperations {
    std::vector<std::string> calls;
    WindowHandle nextWindow = 7;  // 0 makes creation fail
    std::map<WindowHandle, std::uint32_t> fields;

    WindowHandle CreateWindowExA(std::uint32_t extendedStyle, const char* className, const char* text,
                                 std::uint32_t style, std::int32_t x, std::int32_t y, std::int32_t width,
                                 std::int32_t height, WindowHandle parent, std::intptr_t childId,
                                 InstanceHandle instance, void* creationData) override {
        calls.push_back(call("CreateWindowExA", extendedStyle, className, '"' + std::string(text) + '"', style, x, y,
                             width, height, parent, childId, instance, creationData == nullptr));
        if (nextWindow != 0) fields[nextWindow] = 0;
        return nextWindow;
    }
    ObjectHandle GetStockObject(std::int32_t object) override {
        calls.push_back(call("GetStockObject", object));
        return 0x5A;
    }
    LResult SendMessageA(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) override {
        const bool toVariable = message == 1126;  // lParam is then a pointer, recorded as 0
        calls.push_back(call("SendMessageA", window, message, wParam, toVariable ? 0 : lParam));
        if (const auto field = fields.find(window); field != fields.end()) {
            if (message == 1125) field->second = static_cast<std::uint32_t>(lParam);
            if (toVariable) *reinterpret_cast<std::uint32_t*>(lParam) = field->second;
        }
        return 0;
    }
    bool MoveWindow(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                    bool repaint) override {
        calls.push_back(call("MoveWindow", window, x, y, width, height, repaint));
        return true;
    }
};

}  // namespace setip::testing_support
