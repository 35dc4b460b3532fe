#include "tools/virtual-printer/command_scanner.h"

#include <algorithm>

namespace setip::virtual_printer {
namespace {

const SetAddressCommand anyAddress = setAddressCommand({});
constexpr std::size_t fixedLength = 7;

}  // namespace

std::vector<std::vector<std::uint8_t>> CommandScanner::feed(std::span<const std::uint8_t> bytes) {
    std::vector<std::vector<std::uint8_t>> found;
    // A window over the last eleven bytes: a command ends wherever the window ends with it.
    for (const std::uint8_t byte : bytes) {
        std::shift_left(recent_.begin(), recent_.end(), 1);
        recent_.back() = byte;
        held_ = std::min(held_ + 1, recent_.size());
        if (held_ >= statusRequest.size() &&
            std::equal(statusRequest.rbegin(), statusRequest.rend(), recent_.rbegin())) {
            found.emplace_back(statusRequest.begin(), statusRequest.end());
        }
        if (held_ == recent_.size() &&
            std::equal(anyAddress.begin(), anyAddress.begin() + fixedLength, recent_.begin())) {
            found.emplace_back(recent_.begin(), recent_.end());
            held_ = 0;  // its bytes start no other command
        }
    }
    return found;
}

std::optional<Octets> newAddressIn(std::span<const std::uint8_t> command) {
    if (command.size() != anyAddress.size() || !std::equal(anyAddress.begin(), anyAddress.begin() + fixedLength,
                                                           command.begin())) {
        return std::nullopt;
    }
    Octets octets;
    std::copy(command.begin() + fixedLength, command.end(), octets.begin());
    return octets;
}

std::string dotted(const Octets& octets) {
    return std::to_string(octets[0]) + "." + std::to_string(octets[1]) + "." + std::to_string(octets[2]) + "." +
           std::to_string(octets[3]);
}

}  // namespace setip::virtual_printer
