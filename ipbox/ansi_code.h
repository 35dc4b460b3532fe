#pragma once

#include <cstdint>
#include <optional>

namespace setip {

// The code of one 16-bit character in the system's ANSI code page, as CountIF compares it with a byte.
//
// On Windows this is the machine's active code page (a double-byte character gives a negative code). Off Windows
// there is no such setting, so the code page is fixed as Windows-1252: U+0000..U+007F and U+00A0..U+00FF keep
// their values, the 27 characters of its 0x80..0x9F row (euro sign, curly quotes, dashes, ...) take those codes,
// and U+0081, U+008D, U+008F, U+0090 and U+009D map to themselves as in the system's own table. Every other
// character has no code, and gives nullopt: it matches no byte.
std::optional<std::int16_t> ansiCodeOf(char16_t character);

}  // namespace setip
