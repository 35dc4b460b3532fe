#include "common/number.h"

#include "common/error.h"

#include <limits>

namespace setip {
namespace {

template <typename Integer>
Integer toInteger(TextView text) {
    text = trimSpaces(text);
    bool negative = false;
    if (!text.empty() && (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        text.remove_prefix(1);
    }
    if (text.empty()) throw Error::typeMismatch();

    // Accumulate in a wider type and stop growing once past the range, so that any run of digits is safe.
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<Integer>::max()} + 1;
    std::int64_t magnitude = 0;
    for (const char16_t unit : text) {
        if (unit < u'0' || unit > u'9') throw Error::typeMismatch();
        if (magnitude <= limit) magnitude = magnitude * 10 + (unit - u'0');
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<Integer>::min() || value > std::numeric_limits<Integer>::max()) throw Error::overflow();
    return static_cast<Integer>(value);
}

}  // namespace

std::int16_t toInteger16(TextView text) { return toInteger<std::int16_t>(text); }
std::int32_t toInteger32(TextView text) { return toInteger<std::int32_t>(text); }

std::uint8_t narrowToByte(std::int32_t value) {
    if (value < 0 || value > 255) throw Error::overflow();
    return static_cast<std::uint8_t>(value);
}

}  // namespace setip
