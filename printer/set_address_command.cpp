#include "printer/set_address_command.h"

#include "common/error.h"
#include "common/number.h"

#include <algorithm>

namespace setip {

Octets parseNewAddress(TextView text) {
    const auto parts = splitAt(trimSpaces(text), u'.');
    Octets octets{};
    for (std::size_t i = 0; i < octets.size(); ++i) {
        if (i >= parts.size()) throw Error::subscriptOutOfRange();
        octets[i] = narrowToByte(toInteger16(parts[i]));
    }
    return octets;
}

SetAddressCommand setAddressCommand(const Octets& octets) {
    SetAddressCommand command{0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50};
    std::copy(octets.begin(), octets.end(), command.begin() + 7);
    return command;
}

}  // namespace setip
