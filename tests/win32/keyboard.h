#pragma once

#include <windows.h>

#include <algorithm>
#include <string_view>
#include <vector>

namespace setip::testing_support {

// Keys as the operator types them, through the system's input queue to whichever control has the focus, and then
// `last` when given. Tab, Enter, Esc, Backspace and the space bar are pressed as keys, whose virtual codes are their
// characters; < and > are the Left and Right arrows and ^ is Ctrl+V; any other character is typed as itself.
inline void typeKeys(std::wstring_view keys, WORD last = 0) {
    std::vector<INPUT> inputs;
    const auto key = [&inputs](WORD virtualKey, wchar_t character, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki = {virtualKey, static_cast<WORD>(character), flags, 0, 0};
        inputs.push_back(input);
    };
    const auto press = [&key](WORD virtualKey, DWORD flags = 0) {
        key(virtualKey, 0, flags);
        key(virtualKey, 0, flags | KEYEVENTF_KEYUP);
    };
    for (const wchar_t character : keys) {
        if (character == L'<' || character == L'>') {
            press(character == L'<' ? VK_LEFT : VK_RIGHT, KEYEVENTF_EXTENDEDKEY);
        } else if (character == L'^') {
            key(VK_CONTROL, 0, 0);
            press('V');
            key(VK_CONTROL, 0, KEYEVENTF_KEYUP);
        } else if (character <= L' ') {
            press(character);
        } else {
            key(0, character, KEYEVENTF_UNICODE);
            key(0, character, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP);
        }
    }
    if (last != 0) press(last);
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Puts `text` on the clipboard, which owns the copy from then on.
inline void putOnClipboard(std::wstring_view text) {
    const HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    auto* characters = static_cast<wchar_t*>(::GlobalLock(copy));
    std::ranges::copy(text, characters);
    characters[text.size()] = L'\0';
    ::GlobalUnlock(copy);
    ::OpenClipboard(nullptr);
    ::EmptyClipboard();
    ::SetClipboardData(CF_UNICODETEXT, copy);
    ::CloseClipboard();
}

}  // namespace setip::testing_support
