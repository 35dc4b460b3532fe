#pragma once

#include "common/no_escape.h"

#include <windows.h>

#include <iostream>

namespace setip::win32 {

// `Procedure` as the system may call it: an exception that would go back into the system, and end the program,
// is told on standard error as one "setip:" line instead. The message then gets 0, or -1 for WM_CREATE, which
// refuses a window that could not be made.
template <WNDPROC Procedure>
LRESULT CALLBACK noEscapeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    return noEscape(std::cerr, [&] { return Procedure(window, message, wParam, lParam); },
                    LRESULT{message == WM_CREATE ? -1 : 0});
}

}  // namespace setip::win32
