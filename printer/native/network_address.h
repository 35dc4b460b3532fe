#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace setip::native {

inline constexpr std::uint16_t rawPrintingPort = 9100;

struct NetworkAddress {
    std::string host;
    std::uint16_t port = rawPrintingPort;

    friend bool operator==(const NetworkAddress&, const NetworkAddress&) = default;
};

// "host", "host:port", "[v6]" or "[v6]:port", with blanks around it ignored. A bare IPv6 address (more than one
// colon) carries no port. Nothing when the text is no address at all.
std::optional<NetworkAddress> parseNetworkAddress(std::string_view text);

}  // namespace setip::native
