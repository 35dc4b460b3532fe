#pragma once

#include "app/cli/command_line.h"

#include <vector>

namespace setip::cli {

// `setip ports`: the serial lines, printer devices and printer queues this machine offers, each in the form `set`
// takes.
struct PortsOptions {
    bool json = false;
};

int portsCommand(const PortsOptions& options, Console& console, const System& system);

// The serial lines, printer devices and printer queues this machine has; one file for each system.
std::vector<OfferedPort> portsOfThisMachine();

// The printer queues installed on this machine, each as DRIVER with its name, in the print service's order.
std::vector<OfferedPort> installedQueuePorts();

}  // namespace setip::cli
