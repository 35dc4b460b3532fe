#pragma once

#include <cstdint>
#include <optional>

namespace setip {

// Beside ansiCodeOf (ipbox/ansi_code.h), the code of one 16-bit character in any Windows code page: a single byte as 0..255, and a double-byte character as
// lead byte * 256 + trail byte in 16 bits, which is negative because a lead byte has its top bit set. A character
// has no code when the page lacks it (the conversion would substitute or best-fit it) or when it takes more bytes
// than 16 bits hold, as most characters do in UTF-8 (65001).
std::optional<std::int16_t> codeInPage(unsigned codePage, char16_t character);

}  // namespace setip
