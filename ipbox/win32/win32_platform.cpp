#include "ipbox/win32/win32_platform.h"

namespace setip::win32 {

WindowHandle Win32Platform::handleOf(HWND window) {
    return static_cast<WindowHandle>(reinterpret_cast<std::intptr_t>(window));
}

HWND Win32Platform::windowOf(WindowHandle window) {
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(window));
}

WindowHandle Win32Platform::CreateWindowExA(std::uint32_t extendedStyle, const char* className, const char* windowText,
                                            std::uint32_t style, std::int32_t x, std::int32_t y, std::int32_t width,
                                            std::int32_t height, WindowHandle parent, std::intptr_t childId,
                                            InstanceHandle instance, void* creationData) {
    return handleOf(::CreateWindowExA(extendedStyle, className, windowText, style, x, y, width, height,
                                      windowOf(parent), reinterpret_cast<HMENU>(childId),
                                      reinterpret_cast<HINSTANCE>(instance), creationData));
}

ObjectHandle Win32Platform::GetStockObject(std::int32_t object) {
    return reinterpret_cast<ObjectHandle>(::GetStockObject(object));
}

LResult Win32Platform::SendMessageA(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) {
    return ::SendMessageA(windowOf(window), message, wParam, lParam);
}

bool Win32Platform::MoveWindow(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t width,
                               std::int32_t height, bool repaint) {
    return ::MoveWindow(windowOf(window), x, y, width, height, repaint) != 0;
}

}  // namespace setip::win32
