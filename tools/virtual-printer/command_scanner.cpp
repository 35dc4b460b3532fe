#include "tools/virtual-printer/command_scanner.h"

#include <algorithm>

namespace setip::virtual_printer {

std::optional<Octets> CommandScanner::feed(std::span<const std::uint8_t> bytes) {
    static const SetAddressCommand fixed = setAddressCommand({});
    constexpr std::size_t fixedLength = 7;
    std::optional<Octets> found;
    // A window over the last eleven bytes: a command ends wherever the window starts with the fixed bytes.
    for (const std::uint8_t byte : bytes) {
        std::shift_left(recent_.begin(), recent_.end(), 1);
        recent_.back() = byte;
        held_ = std::min(held_ + 1, recent_.size());
        if (held_ == recent_.size() && std::equal(fixed.begin(), fixed.begin() + fixedLength, recent_.begin())) {
            Octets octets;
            std::copy(recent_.begin() + fixedLength, recent_.end(), octets.begin());
            found = octets;
            held_ = 0;
        }
    }
    return found;
}

std::string dotted(const Octets& octets) {
    return std::to_string(octets[0]) + "." + std::to_string(octets[1]) + "." + std::to_string(octets[2]) + "." +
           std::to_string(octets[3]);
}

}  // namespace setip::virtual_printer
