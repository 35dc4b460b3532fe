#pragma once

#include "app/cli/command_line.h"

#include <optional>
#include <string>

namespace setip::cli {

// `setip set`: one press of "Set IP", by role, through the same rules and library choice as the window.
struct SetOptions {
    std::string port;                  // the port entry, as the window's port list takes it
    std::string at;                    // the printer's present address, for ETHERNET
    std::string queue;                 // the printer queue, for DRIVER
    std::string baud = "19200";        // for a serial port
    std::string to;                    // the new address
    std::optional<double> confirm;     // seconds to wait for the printer at its new address
    std::string confirmAt;             // where to wait for it, HOST[:PORT]; for ETHERNET the new address by default
    bool force = false;                // send even when another device answers at the new address
    bool json = false;
};

int setCommand(const SetOptions& options, Console& console, const System& system);

}  // namespace setip::cli
