#pragma once

#include "ipbox/platform_operations.h"
#include "ipbox/qt/address_field.h"

#include <QPointer>
#include <QWidget>

#include <map>

namespace setip::qt {

// The control's window calls over Qt widgets. Window handles are numbers this object hands out: a host registers
// its widget to get its hWnd, and CreateWindowExA gives each new address field the next one. A handle that is
// unknown, or whose widget is gone, is ignored as the system ignores an invalid window.
class QtPlatform final : public PlatformOperations {
public:
    // The widget's handle, registering it when it has none yet.
    WindowHandle handleOf(QWidget* window);
    // The widget behind a handle, or nullptr.
    QWidget* windowOf(WindowHandle window) const;

    // Creates an AddressField for the class "SysIPAddress32" inside a known parent; 0 otherwise.
    WindowHandle CreateWindowExA(std::uint32_t extendedStyle, const char* className, const char* windowText,
                                 std::uint32_t style, std::int32_t x, std::int32_t y, std::int32_t width,
                                 std::int32_t height, WindowHandle parent, std::intptr_t childId,
                                 InstanceHandle instance, void* creationData) override;
    // DEFAULT_GUI_FONT is the system's general font; there are no other stock objects here.
    ObjectHandle GetStockObject(std::int32_t object) override;
    // WM_SETFONT, IPM_SETADDRESS and IPM_GETADDRESS to an address field; anything else gives 0.
    LResult SendMessageA(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) override;
    bool MoveWindow(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                    bool repaint) override;

private:
    AddressField* fieldOf(WindowHandle window) const;

    std::map<WindowHandle, QPointer<QWidget>> windows_;
    WindowHandle lastHandle_ = 0;
};

}  // namespace setip::qt
