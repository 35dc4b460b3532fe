#pragma once

#include <cstdint>
#include <vector>

namespace setip::icon {

struct Rgba {
    std::uint8_t red = 0, green = 0, blue = 0, alpha = 0;
    friend bool operator==(const Rgba&, const Rgba&) = default;
};

// A square image, top row first, not premultiplied.
struct Image {
    int size = 0;
    std::vector<Rgba> pixels;

    const Rgba& at(int x, int y) const { return pixels[static_cast<std::size_t>(y * size + x)]; }
};

}  // namespace setip::icon
