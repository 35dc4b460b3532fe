#pragma once

#include "ipbox/ip_box.h"

#include <windows.h>

namespace setip::win32 {

// The window class that hosts an ipBox, registered once per process. Its creation is the control's initialise
// event and each change of its size the resize event, so the address field always covers it. The application
// registers the address field's own class first (InitCommonControlsEx with ICC_INTERNET_CLASSES).
inline constexpr wchar_t ipBoxClassName[] = L"SetipIpBox";
void registerIpBoxClass(HINSTANCE instance);

// The ipBox living in a window of that class, or nullptr for any other window. It goes with the window.
ipBox* ipBoxOf(HWND window);

}  // namespace setip::win32
