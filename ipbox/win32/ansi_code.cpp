#include "ipbox/ansi_code.h"

#include <windows.h>

namespace setip {

// The machine's active code page, as the system's own conversion gives it: a single byte as 0..255, and a
// double-byte character as lead byte * 256 + trail byte in 16 bits, which is negative because a lead byte has its
// top bit set. A character the code page lacks has no code.
std::optional<std::int16_t> ansiCodeOf(char16_t character) {
    const wchar_t wide = static_cast<wchar_t>(character);
    char bytes[2] = {};
    BOOL usedDefault = FALSE;
    const int length = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes, sizeof bytes, nullptr,
                                             &usedDefault);
    if (length <= 0 || usedDefault) return std::nullopt;
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (length == 1) return static_cast<std::int16_t>(lead);
    const auto trail = static_cast<unsigned char>(bytes[1]);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(lead << 8 | trail));
}

}  // namespace setip
