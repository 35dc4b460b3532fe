#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace setip::native {

// How a serial or parallel port is named: by number after its prefix ("COM12", "LPT1"), or by a device path after
// the prefix and a colon ("COM:/dev/ttyUSB0", "LPT:/dev/usb/lp0"). Exactly one of the two is set.
struct DeviceName {
    std::optional<unsigned> number;
    std::string path;

    friend bool operator==(const DeviceName&, const DeviceName&) = default;
};

// Nothing when the name is neither form: no digits, a port 0, leading zeros, stray characters or an empty path.
std::optional<DeviceName> parseDeviceName(std::string_view name, std::string_view prefix);

}  // namespace setip::native
