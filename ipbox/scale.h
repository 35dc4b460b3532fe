#pragma once

#include <cstdint>

namespace setip {

// A scale size to the nearest 32-bit integer, a half going to the even neighbour; out of range raises 6.
std::int32_t nearestInteger32(double value);

}  // namespace setip
