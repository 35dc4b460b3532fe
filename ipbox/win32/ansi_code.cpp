#include "ipbox/ansi_code.h"

#include "ipbox/win32/ansi_code.h"

#include <windows.h>

namespace setip {

// Some pages, UTF-8 among them, refuse the flags that ask for no substitution, so none are given: a character
// that comes back unchanged from its bytes is one the page has, whatever the page.
std::optional<std::int16_t> codeInPage(unsigned codePage, char16_t character) {
    const wchar_t wide = static_cast<wchar_t>(character);
    char bytes[4] = {};
    const int length = ::WideCharToMultiByte(codePage, 0, &wide, 1, bytes, sizeof bytes, nullptr, nullptr);
    wchar_t back[2] = {};
    if (length <= 0 || length > 2 || ::MultiByteToWideChar(codePage, 0, bytes, length, back, 2) != 1 ||
        back[0] != wide) {
        return std::nullopt;
    }
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (length == 1) return static_cast<std::int16_t>(lead);
    const auto trail = static_cast<unsigned char>(bytes[1]);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(lead << 8 | trail));
}

// The machine's active code page, as the system's own conversion gives it.
std::optional<std::int16_t> ansiCodeOf(char16_t character) { return codeInPage(CP_ACP, character); }

}  // namespace setip
