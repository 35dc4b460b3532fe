#pragma once

#include "common/deadline.h"
#include "printer/builtin/network_address.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace setip::builtin {

// The receipt printer's real-time status request, DLE EOT 1. A printer answers it with one byte at once, even offline,
// and prints nothing.
inline constexpr std::array<std::uint8_t, 3> statusRequest{0x10, 0x04, 0x01};

// Whether a byte is a printer's status: bits 1 and 4 always set, bits 0 and 7 always clear.
constexpr bool isPrinterStatus(std::uint8_t byte) { return (byte & 0x93) == 0x12; }

struct ScanOptions {
    std::uint16_t port = rawPrintingPort;
    Clock::duration timeout = std::chrono::seconds{1};  // each address's, from its connect to its status byte
    std::size_t mostInFlight = 256;                     // connects under way at once
    bool identify = false;                              // send statusRequest to each that answers; else send nothing
};

struct ScanAnswer {
    Ipv4 address = 0;
    std::optional<std::uint8_t> status;  // with identify, the first byte back, when one came in time

    friend bool operator==(const ScanAnswer&, const ScanAnswer&) = default;
};

struct ScanProgress {
    std::size_t settled = 0;  // addresses that answered, refused or ran out of time
    std::size_t total = 0;
    std::size_t answered = 0;
};

// Tries each address on the port, many at once, and gives those that took a connection, by address. Each connection
// is dropped as soon as it is made (or its status byte came), since some printers take one client at a time.
// `progress` hears each round of waiting that settled an address. Throws PrinterFailure when the system gives no
// socket.
std::vector<ScanAnswer> scanAddresses(std::span<const Ipv4> addresses, const ScanOptions& options,
                                      const std::function<void(const ScanProgress&)>& progress = {});

}  // namespace setip::builtin
