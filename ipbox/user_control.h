#pragma once

#include "ipbox/handles.h"

namespace setip {

// The user-control object that hosts an ipBox: its own window, its inner size in pixels (the control's scale
// unit) and the application's module instance. The host also raises the control's initialise and resize events.
class UserControl {
public:
    virtual ~UserControl() = default;

    virtual WindowHandle hWnd() const = 0;
    virtual double ScaleWidth() const = 0;
    virtual double ScaleHeight() const = 0;
    virtual InstanceHandle hInstance() const = 0;
};

}  // namespace setip
