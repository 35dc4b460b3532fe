#include "printer/native/device_name.h"

#include <algorithm>
#include <charconv>

namespace setip::native {
std::optional<DeviceName> parseDeviceName(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix)) return std::nullopt;
    const std::string_view rest = name.substr(prefix.size());
    if (rest.starts_with(':')) {
        if (rest.size() == 1) return std::nullopt;
        return DeviceName{std::nullopt, std::string{rest.substr(1)}};
    }
    const bool digitsOnly = !rest.empty() && std::all_of(rest.begin(), rest.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
    // Four digits reach far beyond any machine's port count and never overflow.
    if (!digitsOnly || rest.front() == '0' || rest.size() > 4) return std::nullopt;
    unsigned number = 0;
    std::from_chars(rest.data(), rest.data() + rest.size(), number);
    return DeviceName{number, {}};
}

}  // namespace setip::native
