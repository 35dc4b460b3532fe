#pragma once

#include "tools/draw-icon/image.h"
#include "tools/draw-icon/palette.h"

#include <cstdint>
#include <variant>
#include <vector>

namespace setip::icon {

// One image of an icon file: true colour with alpha, or indexed with 2, 16 or 256 colours.
using IconImage = std::variant<Image, IndexedImage>;

// A Windows .ico file holding the images in the order given, each as a bitmap with its transparency mask.
std::vector<std::uint8_t> icoFile(const std::vector<IconImage>& images);

}  // namespace setip::icon
