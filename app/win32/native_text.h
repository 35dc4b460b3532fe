#pragma once

#include "common/text.h"

#include <windows.h>

#include <string>

namespace setip::win32 {

// The model's 16-bit text and the system's wide text are the same UTF-16; only the character type differs.
inline std::wstring wideOf(TextView text) { return {text.begin(), text.end()}; }
inline Text textOf(std::wstring_view text) { return {text.begin(), text.end()}; }

// A window's whole text.
inline Text windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return textOf(text);
}

}  // namespace setip::win32
