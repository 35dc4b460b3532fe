#include "tools/virtual-printer/hex_dump.h"

#include <algorithm>
#include <cstdio>

namespace setip::virtual_printer {

std::string hexDump(std::string_view prefix, std::span<const std::uint8_t> bytes, std::size_t firstOffset) {
    constexpr std::size_t perLine = 16;
    std::string out;
    for (std::size_t start = 0; start < bytes.size(); start += perLine) {
        const auto line = bytes.subspan(start, std::min(perLine, bytes.size() - start));
        char field[16];
        std::snprintf(field, sizeof field, "   %04zX ", firstOffset + start);
        out += prefix;
        out += field;
        for (std::size_t i = 0; i < perLine; ++i) {
            if (i < line.size()) {
                std::snprintf(field, sizeof field, " %02X", line[i]);
                out += field;
            } else {
                out += "   ";
            }
        }
        out += "  ";
        for (const std::uint8_t byte : line) out += byte >= 0x20 && byte < 0x7F ? static_cast<char>(byte) : '.';
        out += '\n';
    }
    return out;
}

std::string hexBytes(std::span<const std::uint8_t> bytes) {
    std::string out;
    for (const std::uint8_t byte : bytes) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", byte);
        out += digits;
    }
    return out;
}

}  // namespace setip::virtual_printer
