#include "app/cli/find_command.h"

#include "common/unique_resource.h"
#include "printer/builtin/network_address.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <bit>

namespace setip::cli {

// The IPv4 networks of the interfaces that are up, loopback left out: a printer is never there.
std::vector<LocalNetwork> localNetworksOfThisMachine() {
    ifaddrs* first = nullptr;
    if (::getifaddrs(&first) != 0) return {};
    const UniqueResource<PointerHandleTraits<ifaddrs*, ::freeifaddrs>> owned{first};
    std::vector<LocalNetwork> networks;
    for (const ifaddrs* entry = first; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_netmask == nullptr || entry->ifa_addr->sa_family != AF_INET ||
            (entry->ifa_flags & IFF_UP) == 0 || (entry->ifa_flags & IFF_LOOPBACK) != 0) {
            continue;
        }
        const auto address = ntohl(reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr);
        const auto mask = ntohl(reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask)->sin_addr.s_addr);
        networks.push_back({entry->ifa_name, builtin::AddressRange::holding(address, std::popcount(mask)).text()});
    }
    return networks;
}

}  // namespace setip::cli
