#include "ipbox/ansi_code.h"

#include <array>

namespace setip {
namespace {

// Windows-1252 codes 0x80..0x9F, by code; the five unassigned codes hold their own C1 control character.
constexpr std::array<char16_t, 32> row80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

std::optional<std::int16_t> ansiCodeOf(char16_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) return static_cast<std::int16_t>(character);
    for (std::size_t index = 0; index < row80.size(); ++index) {
        if (row80[index] == character) return static_cast<std::int16_t>(0x80 + index);
    }
    return std::nullopt;
}

}  // namespace setip
