#pragma once

#include "tools/draw-icon/image.h"

#include <cstdint>
#include <vector>

namespace setip::icon {

// A PNG of the image, 8-bit RGBA. The data is stored uncompressed, so the file is the same on every machine.
std::vector<std::uint8_t> pngFile(const Image& image);

}  // namespace setip::icon
