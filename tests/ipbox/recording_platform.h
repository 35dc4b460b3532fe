#pragma once

#include "ipbox/platform_operations.h"
#include "ipbox/user_control.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace setip::testing_support {

struct FakeHost final : UserControl {
    WindowHandle window = 3;
    double width = 132;
    double height = 19;
    WindowHandle hWnd() const override { return window; }
    double ScaleWidth() const override { return width; }
    double ScaleHeight() const override { return height; }
    InstanceHandle hInstance() const override { return 0x400000; }
};

// Records every call as one line of text and keeps each created field's packed address, as the system field would.
struct RecordingPlatform final : PlatformOperations {
    std::vector<std::string> calls;
    WindowHandle nextWindow = 7;  // 0 makes creation fail
    std::map<WindowHandle, std::uint32_t> fields;

    static std::string line(const char* format, auto... values) {
        char text[160];
        std::snprintf(text, sizeof text, format, values...);
        return text;
    }

    WindowHandle CreateWindowExA(std::uint32_t extendedStyle, const char* className, const char* windowText,
                                 std::uint32_t style, std::int32_t x, std::int32_t y, std::int32_t width,
                                 std::int32_t height, WindowHandle parent, std::intptr_t childId,
                                 InstanceHandle instance, void* creationData) override {
        calls.push_back(line("CreateWindowExA %#x %s '%s' %#x %d %d %d %d %d %ld %#lx %p", extendedStyle, className,
                             windowText, style, x, y, width, height, parent, long{childId}, long{instance},
                             creationData));
        if (nextWindow != 0) fields[nextWindow] = 0;
        return nextWindow;
    }
    ObjectHandle GetStockObject(std::int32_t object) override {
        calls.push_back(line("GetStockObject %d", object));
        return 0x5A;
    }
    LResult SendMessageA(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) override {
        const bool toVariable = message == 1126;
        calls.push_back(toVariable ? line("SendMessageA %d %u %lu variable", window, message, wParam)
                                   : line("SendMessageA %d %u %#lx %#lx", window, message, wParam, long{lParam}));
        const auto field = fields.find(window);
        if (field == fields.end()) return 0;
        if (message == 1125) field->second = static_cast<std::uint32_t>(lParam);
        if (toVariable) *reinterpret_cast<std::uint32_t*>(lParam) = field->second;
        return 0;
    }
    bool MoveWindow(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                    bool repaint) override {
        calls.push_back(line("MoveWindow %d %d %d %d %d %d", window, x, y, width, height, int{repaint}));
        return true;
    }
    void moveMemory(std::uint32_t& destination, const PackedOrderBuffer& source) override {
        calls.push_back(line("RtlMoveMemory to variable %02x %02x %02x %02x", source[0], source[1], source[2],
                             source[3]));
        PlatformOperations::moveMemory(destination, source);
    }
    void moveMemory(PackedOrderBuffer& destination, const std::uint32_t& source) override {
        PlatformOperations::moveMemory(destination, source);
        calls.push_back(line("RtlMoveMemory to buffer %02x %02x %02x %02x", destination[0], destination[1],
                             destination[2], destination[3]));
    }
};

}  // namespace setip::testing_support
