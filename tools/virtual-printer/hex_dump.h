#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace setip::virtual_printer {

// One line per 16 bytes: the offset, the bytes in hex, and the printable ones as text.
//   0000  1F 1B 1F 91 00 49 50 C0 A8 7B 64                 .....IP..{d
std::string hexDump(std::span<const std::uint8_t> bytes, std::size_t firstOffset = 0);

}  // namespace setip::virtual_printer
