#pragma once

#include "common/text.h"
#include "printer/printer_library.h"

#include <cstdint>
#include <optional>
#include <string>

namespace setip {

// One press of "Set IP", by role: what the operator chose and typed, as the window's controls hold it.
struct PressRequest {
    Text port;            // the port entry: its first three characters name the kind; a serial or parallel port's name
    Text presentAddress;  // the printer's present address, read for the network kind only
    Text queue;           // the installed printer queue, read for the driver kind only
    Text baudRate;        // read for the serial kind only
    Text newAddress;      // the address the printer is to take
};

enum class PressStage { address, open, send };

// What one press did. A press that failed says at which stage, and why in words an operator can act on.
struct PressOutcome {
    // What opening the port gave: failedHandle when it could not be opened; none when the press stopped at the
    // address, before any port was asked for.
    std::optional<std::int32_t> handle;
    std::optional<PressStage> failedAt;  // none when the command was sent
    std::string reason;                  // empty when the command was sent

    bool sent() const { return !failedAt.has_value(); }
    friend bool operator==(const PressOutcome&, const PressOutcome&) = default;
};

// Parses the new address, opens the port the request names, sends the 11-byte set-address command between StartDoc
// and EndDoc, and closes the port. A malformed address opens nothing, and a port that does not open is sent nothing.
// Once the port is open, every step runs and the port is closed whatever came before; the first failure is the one
// told. Tells nobody itself: the caller turns the outcome into what its operator sees.
PressOutcome pressSetIp(const PressRequest& request, PrinterLibrary& library);

}  // namespace setip
