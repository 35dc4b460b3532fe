#pragma once

#include "common/text.h"

#include <cstdint>

namespace setip {

// Text to whole number, as the platform converts an address part or a baud rate: optional U+0020 blanks around
// the number, an optional sign, then decimal digits. Anything else raises 13; a value out of range raises 6.
std::int16_t toInteger16(TextView text);
std::int32_t toInteger32(TextView text);

// Narrows to 0..255 or raises 6.
std::uint8_t narrowToByte(std::int32_t value);

}  // namespace setip
