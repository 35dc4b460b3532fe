#pragma once

#include <array>
#include <cstdint>

namespace setip {

// The packed address in its memory order: index 0 holds bits 7..0 (the rightmost number of the dotted text),
// index 3 holds bits 31..24 (the leftmost).
using PackedOrderBuffer = std::array<std::uint8_t, 4>;

// The 4-byte memory copy between the buffer and a 32-bit variable. The platform is little-endian, so the copy is
// written as little-endian order and gives the same packed address on a host of either byte order.
std::uint32_t packedFromBuffer(const PackedOrderBuffer& buffer);
PackedOrderBuffer bufferFromPacked(std::uint32_t packed);

}  // namespace setip
