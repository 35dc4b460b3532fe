#pragma once

#include "tools/virtual-printer/command_scanner.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace setip::virtual_printer {

// What the printer makes of the bytes of one connection, or of a serial line: it reports them, each command in
// them and each answer, every line starting with `where` (the listener's address or the line's path), and
// remembers the last new address it was given.
//   127.0.0.2:9100   0000  1F 1B 1F 91 00 49 50 7F 00 00 07                 .....IP....
//   127.0.0.2:9100 command 1F1B1F910049507F000007 (new address 127.0.0.7)
//   127.0.0.2:9100 command 100401 (status request)
//   127.0.0.2:9100 answer 16 (idle)
class Session {
public:
    Session(std::string where, std::ostream& report) : where_(std::move(where)), report_(report) {}

    // Takes bytes as they arrive; gives what the printer answers at once (empty when nothing).
    std::vector<std::uint8_t> receive(std::span<const std::uint8_t> bytes);

    const std::string& where() const { return where_; }
    std::size_t received() const { return received_; }
    const std::optional<Octets>& newAddress() const { return newAddress_; }

private:
    std::string where_;
    std::reference_wrapper<std::ostream> report_;  // a reference that lets a session be moved into another's place
    CommandScanner scanner_;
    std::size_t received_ = 0;
    std::optional<Octets> newAddress_;
};

}  // namespace setip::virtual_printer
