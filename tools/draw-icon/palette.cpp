#include "tools/draw-icon/palette.h"

#include <limits>
#include <stdexcept>

namespace setip::icon {

std::vector<Rgba> standardPalette(int colours) {
    switch (colours) {
        case 2:
            return {{0, 0, 0, 255}, {255, 255, 255, 255}};
        case 16:
            return {{0, 0, 0, 255},       {128, 0, 0, 255},   {0, 128, 0, 255},   {128, 128, 0, 255},
                    {0, 0, 128, 255},     {128, 0, 128, 255}, {0, 128, 128, 255}, {192, 192, 192, 255},
                    {128, 128, 128, 255}, {255, 0, 0, 255},   {0, 255, 0, 255},   {255, 255, 0, 255},
                    {0, 0, 255, 255},     {255, 0, 255, 255}, {0, 255, 255, 255}, {255, 255, 255, 255}};
        case 256: {
            std::vector<Rgba> palette;
            for (int r = 0; r < 6; ++r) {
                for (int g = 0; g < 6; ++g) {
                    for (int b = 0; b < 6; ++b) {
                        palette.push_back({static_cast<std::uint8_t>(r * 51), static_cast<std::uint8_t>(g * 51),
                                           static_cast<std::uint8_t>(b * 51), 255});
                    }
                }
            }
            for (int grey = 0; grey < 40; ++grey) {
                const auto level = static_cast<std::uint8_t>(3 + grey * 252 / 40);
                palette.push_back({level, level, level, 255});
            }
            return palette;
        }
        default:
            throw std::invalid_argument("no standard palette of that many colours");
    }
}

IndexedImage toIndexed(const Image& image, const std::vector<Rgba>& palette) {
    IndexedImage out{image.size, palette, {}, {}};
    for (const Rgba& pixel : image.pixels) {
        out.transparent.push_back(pixel.alpha < 128);
        int best = 0;
        int bestDistance = std::numeric_limits<int>::max();
        for (std::size_t index = 0; index < palette.size(); ++index) {
            const int dr = pixel.red - palette[index].red;
            const int dg = pixel.green - palette[index].green;
            const int db = pixel.blue - palette[index].blue;
            // Weighted towards green, as the eye is.
            const int distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = static_cast<int>(index);
            }
        }
        out.indexes.push_back(static_cast<std::uint8_t>(best));
    }
    return out;
}

}  // namespace setip::icon
