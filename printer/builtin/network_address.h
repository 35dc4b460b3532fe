#pragma once

#include "printer/printer_library.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace setip::builtin {

inline constexpr std::uint16_t rawPrintingPort = 9100;

struct NetworkAddress {
    std::string host;
    std::uint16_t port = rawPrintingPort;

    friend bool operator==(const NetworkAddress&, const NetworkAddress&) = default;
};

// "host", "host:port", "[v6]" or "[v6]:port", with blanks around it ignored. A bare IPv6 address (more than one
// colon) carries no port. A host of digits and dots is an IPv4 address in four decimal parts, read as the new
// address is read, so "127.0.0.010" gives the host "127.0.0.10". Throws PrinterFailure saying why for a text that is no
// address, and for the other forms the system's resolver would take as IPv4 ("127.1", "0x7f.1", a part over 255):
// those would reach a printer the operator did not mean.
NetworkAddress parseNetworkAddress(std::string_view text);

}  // namespace setip::builtin
