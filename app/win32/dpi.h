#pragma once

#include "app/win32/gdi_handles.h"

#include <windows.h>

namespace setip::win32 {

// The per-monitor DPI functions that user32 has from Windows 10 version 1607 on, looked up at run time so that the
// program also starts on Windows 7. Where one is missing its fallback serves: the DPI of the window's device
// context, and AdjustWindowRectEx, which is right wherever every monitor has the system's DPI.
class DpiFunctions {
public:
    // What this system's user32 offers.
    static DpiFunctions ofSystem();
    // As on a system that has none of them.
    static DpiFunctions missing() { return {}; }

    UINT dpiOf(HWND window) const;
    // The window rectangle around a client area of the given size, for a window of these styles at this DPI.
    RECT frameAround(SIZE client, DWORD style, DWORD extendedStyle, UINT dpi) const;

private:
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

    GetDpiForWindowFunction getDpiForWindow_ = nullptr;
    AdjustWindowRectExForDpiFunction adjustWindowRectExForDpi_ = nullptr;
};

// The DPI the stock objects are made for: the system's, whatever monitor a window is on.
UINT systemDpi();

// The default GUI font as made for a DPI: none where the stock font itself serves, at the system's DPI, and a copy
// scaled to the DPI elsewhere.
UniqueFont guiFontFor(UINT dpi);

}  // namespace setip::win32
