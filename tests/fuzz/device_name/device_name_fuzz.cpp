// Feeds arbitrary text to the serial and parallel device-name parser. A parse is exactly one of the two forms, a
// number from 1 to 9999 or a path that is not empty, and spells the name it came from; anything else is a finding.
#include "printer/builtin/device_port.h"

#include <cstdlib>

// The first byte picks the prefix, COM or LPT; the rest is the name.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string prefix = data[0] % 2 == 0 ? "COM" : "LPT";
    const std::string_view name{reinterpret_cast<const char*>(data) + 1, size - 1};
    const auto parsed = setip::builtin::parseDeviceName(name, prefix);
    if (!parsed) return 0;
    if (parsed->number.has_value() == !parsed->path.empty()) std::abort();
    const bool inRange = !parsed->number || (*parsed->number >= 1 && *parsed->number <= 9999);
    if (!inRange || name != prefix + (parsed->number ? std::to_string(*parsed->number) : ":" + parsed->path)) {
        std::abort();
    }
    return 0;
}
