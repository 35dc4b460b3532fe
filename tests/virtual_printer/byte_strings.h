#pragma once

#include "printer/set_address_command.h"

#include <cstdint>
#include <vector>

namespace setip::testing_support {

using Bytes = std::vector<std::uint8_t>;

inline Bytes command(const Octets& octets) {
    const auto bytes = setAddressCommand(octets);
    return {bytes.begin(), bytes.end()};
}

inline Bytes operator+(Bytes head, const Bytes& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

}  // namespace setip::testing_support
