#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace setip::virtual_printer {

// For people: one line per 16 bytes, after `prefix`: the offset, the bytes in hex, and the printable ones as text.
//   127.0.0.2:9100   0000  1F 1B 1F 91 00 49 50 C0 A8 7B 64                 .....IP..{d
std::string hexDump(std::string_view prefix, std::span<const std::uint8_t> bytes, std::size_t firstOffset);

// For programs: the bytes in hex, two digits each and nothing between them ("1F1B1F91").
std::string hexBytes(std::span<const std::uint8_t> bytes);

}  // namespace setip::virtual_printer
