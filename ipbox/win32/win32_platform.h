#pragma once

#include "ipbox/platform_operations.h"

#include <windows.h>

namespace setip::win32 {

// The control's window calls, made on the system itself. A window handle is kept in 32 bits, which every window
// handle fits, and widened back by sign, as the system does between 32- and 64-bit programs.
class Win32Platform final : public PlatformOperations {
public:
    static WindowHandle handleOf(HWND window);
    static HWND windowOf(WindowHandle window);

    WindowHandle CreateWindowExA(std::uint32_t extendedStyle, const char* className, const char* windowText,
                                 std::uint32_t style, std::int32_t x, std::int32_t y, std::int32_t width,
                                 std::int32_t height, WindowHandle parent, std::intptr_t childId,
                                 InstanceHandle instance, void* creationData) override;
    ObjectHandle GetStockObject(std::int32_t object) override;
    LResult SendMessageA(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) override;
    bool MoveWindow(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                    bool repaint) override;
};

}  // namespace setip::win32
