#pragma once

#include "common/text.h"

#include <array>
#include <cstdint>

namespace setip {

using Octets = std::array<std::uint8_t, 4>;
using SetAddressCommand = std::array<std::uint8_t, 11>;

// The new address as four octets in text order. Blanks (U+0020) around the text are ignored and parts past the
// fourth are not read. A missing part raises 9, a part that is no number 13, a value outside 0..255 raises 6;
// parts are converted first to last, so the first bad part decides.
Octets parseNewAddress(TextView text);

// 1F 1B 1F 91 00 49 50 followed by the octets.
SetAddressCommand setAddressCommand(const Octets& octets);

}  // namespace setip
