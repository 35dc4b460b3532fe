#pragma once

#include <cstdint>

namespace setip {

// Twips to pixels at a given dots-per-inch, rounded to the nearest pixel, halves away from zero as the system's
// MulDiv does: 15 twips a pixel at 96 DPI.
constexpr int twipsToPixels(std::int32_t twips, int dotsPerInch) {
    const std::int64_t scaled = std::int64_t{twips} * dotsPerInch;
    return static_cast<int>((scaled + (scaled >= 0 ? 720 : -720)) / 1440);
}

static_assert(twipsToPixels(5805, 96) == 387);
static_assert(twipsToPixels(1935, 96) == 129);
static_assert(twipsToPixels(105, 144) == 11);  // 10.5 rounds up

}  // namespace setip
