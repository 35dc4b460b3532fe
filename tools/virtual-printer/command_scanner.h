#pragma once

#include "printer/set_address_command.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace setip::virtual_printer {

// DLE EOT 1, the real-time request for the printer's status.
inline constexpr std::array<std::uint8_t, 3> statusRequest{0x10, 0x04, 0x01};

// Finds the commands the virtual printer acts on in a byte stream that arrives in pieces, as a printer would: the
// set-address command (seven fixed bytes, then four octets) and the status request, wherever they fall between reads.
// A status request counts even among another command's bytes, since printers act on it the moment it arrives.
class CommandScanner {
public:
    // Every command that these bytes complete, whole and in stream order.
    std::vector<std::vector<std::uint8_t>> feed(std::span<const std::uint8_t> bytes);

private:
    SetAddressCommand recent_{};  // the last bytes received, oldest first
    std::size_t held_ = 0;        // how many of them are real
};

// The new address in a set-address command; nothing for another command.
std::optional<Octets> newAddressIn(std::span<const std::uint8_t> command);

// "a.b.c.d", for reports.
std::string dotted(const Octets& octets);

}  // namespace setip::virtual_printer
