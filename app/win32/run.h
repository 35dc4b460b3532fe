#pragma once

#include "app/win32/form_window.h"

#include <windows.h>

#include <functional>

namespace setip::win32 {

// Hands one message to the window, through the dialog manager so that Tab moves the focus in tab order.
void dispatch(const FormWindow& window, MSG& message);

// The whole program: registers the common controls, chooses the printer library, builds the window over the
// installed printers, shows it and runs until it is closed. `beforeShow`, when given, sees the window just before
// it is first shown.
int runSetip(HINSTANCE instance, int show, const std::function<void(FormWindow&)>& beforeShow = {});

}  // namespace setip::win32
