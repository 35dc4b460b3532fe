#pragma once

#include "printer/set_address_command.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace setip::virtual_printer {

// Finds set-address commands in a byte stream that arrives in pieces, as a printer would: the seven fixed bytes,
// then four octets, wherever they fall between reads.
class CommandScanner {
public:
    // The new address of the last command completed by these bytes, if any.
    std::optional<Octets> feed(std::span<const std::uint8_t> bytes);

private:
    SetAddressCommand recent_{};  // the last bytes received, oldest first
    std::size_t held_ = 0;        // how many of them are real
};

// "a.b.c.d", for reports.
std::string dotted(const Octets& octets);

}  // namespace setip::virtual_printer
