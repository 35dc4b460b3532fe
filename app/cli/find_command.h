#pragma once

#include "app/cli/command_line.h"

#include <cstdint>
#include <string>
#include <vector>

namespace setip::cli {

// `setip find`: the addresses that take a connection on the raw printing port. A scan is always asked for: with no
// range and no --local it only lists the machine's own networks and says how to scan them.
struct FindOptions {
    std::vector<std::string> ranges;  // "192.168.1.0/24" or single addresses, scanned as named
    bool local = false;               // scan the machine's own networks, each of at most 1,024 addresses
    std::uint16_t port = 9100;
    bool identify = false;            // ask each that answers for its status (DLE EOT 1); otherwise send nothing
    double timeout = 1.0;             // seconds each address is given to answer
    bool json = false;
};

int findCommand(const FindOptions& options, Console& console, const System& system);

// The machine's own IPv4 networks, as its interfaces hold them; one file for each system.
std::vector<LocalNetwork> localNetworksOfThisMachine();

}  // namespace setip::cli
