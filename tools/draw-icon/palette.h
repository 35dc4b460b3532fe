#pragma once

#include "tools/draw-icon/image.h"

#include <cstdint>
#include <vector>

namespace setip::icon {

// A fixed colour table and the pixels of an image mapped onto it. Pixels less than half covered are left to the
// icon's transparency mask.
struct IndexedImage {
    int size = 0;
    std::vector<Rgba> palette;
    std::vector<std::uint8_t> indexes;  // top row first
    std::vector<bool> transparent;      // top row first
};

// 2 colours (black, white), 16 (the standard VGA set) or 256 (a 6x6x6 cube and 40 greys).
std::vector<Rgba> standardPalette(int colours);
IndexedImage toIndexed(const Image& image, const std::vector<Rgba>& palette);

}  // namespace setip::icon
