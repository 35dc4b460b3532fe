#include "ipbox/scale.h"

#include "common/error.h"

#include <cmath>

namespace setip {

std::int32_t nearestInteger32(double value) {
    // Written out rather than left to the floating-point rounding mode, which a host may have changed.
    // The bounds are the halves that still round into range; NaN fails them too.
    if (!(value >= -2147483648.5 && value < 2147483647.5)) throw Error::overflow();
    const double below = std::floor(value);
    const double fraction = value - below;
    const bool belowIsEven = std::fmod(below, 2.0) == 0.0;
    const double nearest = fraction > 0.5 || (fraction == 0.5 && !belowIsEven) ? below + 1.0 : below;
    return static_cast<std::int32_t>(nearest);
}

}  // namespace setip
