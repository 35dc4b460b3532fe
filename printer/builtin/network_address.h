#pragma once

#include "printer/printer_library.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

// An IPv4 address as one number, its first part in the highest byte.
using Ipv4 = std::uint32_t;

// "192.168.1.7"
std::string dottedQuad(Ipv4 address);

// A block of IPv4 addresses: a network and the length of its prefix.
struct AddressRange {
    Ipv4 network = 0;  // the first address; the bits after the prefix are 0
    int prefixLength = 32;

    // The range that holds `address`, cut at `prefixLength` (0 to 32).
    static AddressRange holding(Ipv4 address, int prefixLength);

    // How many addresses a scan tries: all but the network's own and its broadcast address, where it has them.
    std::uint64_t hostCount() const;
    std::vector<Ipv4> hosts() const;
    std::uint64_t size() const { return std::uint64_t{1} << (32 - prefixLength); }
    // "192.168.1.0/24"; one address alone for a /32.
    std::string text() const;

    friend bool operator==(const AddressRange&, const AddressRange&) = default;
};

// "a.b.c.d/n" (n from 0 to 32) or one address "a.b.c.d", each part read as a host of digits and dots is, with blanks
// around ignored. Bits after the prefix are dropped: "192.168.1.7/24" is 192.168.1.0/24. Throws PrinterFailure saying
// why for anything else, names included, since a scan never looks a name up.
AddressRange parseAddressRange(std::string_view text);

}  // namespace setip::builtin
