#include "app/cli/find_command.h"

#include "common/win32/wide_text.h"
#include "printer/builtin/network_address.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>

#include <algorithm>
#include <cstdint>

namespace setip::cli {

// The IPv4 networks of the adapters that are up, loopback left out: a printer is never there.
std::vector<LocalNetwork> localNetworksOfThisMachine() {
    constexpr ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    // Words, so that the list is aligned as its records need; the system says how many bytes it takes.
    std::vector<std::uint64_t> buffer(2048);
    ULONG status = ERROR_BUFFER_OVERFLOW;
    for (int attempt = 0; attempt < 4 && status == ERROR_BUFFER_OVERFLOW; ++attempt) {
        auto size = static_cast<ULONG>(buffer.size() * sizeof buffer[0]);
        status = ::GetAdaptersAddresses(AF_INET, flags, nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()),
                                        &size);
        if (status == ERROR_BUFFER_OVERFLOW) buffer.resize(size / sizeof buffer[0] + 1);
    }
    if (status != NO_ERROR) return {};
    std::vector<LocalNetwork> networks;
    for (auto* adapter = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(buffer.data()); adapter != nullptr;
         adapter = adapter->Next) {
        if (adapter->OperStatus != IfOperStatusUp || adapter->IfType == IF_TYPE_SOFTWARE_LOOPBACK) continue;
        for (auto* unicast = adapter->FirstUnicastAddress; unicast != nullptr; unicast = unicast->Next) {
            const sockaddr* address = unicast->Address.lpSockaddr;
            if (address == nullptr || address->sa_family != AF_INET) continue;
            const auto ipv4 = ntohl(reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr);
            networks.push_back({utf8FromWide(adapter->FriendlyName),
                                builtin::AddressRange::holding(ipv4, std::min<int>(unicast->OnLinkPrefixLength, 32)).text()});
        }
    }
    return networks;
}

}  // namespace setip::cli
