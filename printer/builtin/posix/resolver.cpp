#include "printer/builtin/resolver.h"

#include "common/unique_resource.h"

#include <netdb.h>
#include <sys/socket.h>

namespace setip::builtin {

NameLookup lookUpWithoutDeadline(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    NameLookup lookup;
    if (const int status = ::getaddrinfo(host.c_str(), nullptr, &hints, &found); status != 0) {
        lookup.error = ::gai_strerror(status);
        return lookup;
    }
    const UniqueResource<PointerHandleTraits<addrinfo*, ::freeaddrinfo>> owned{found};
    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        char numeric[NI_MAXHOST];
        if (::getnameinfo(entry->ai_addr, entry->ai_addrlen, numeric, sizeof numeric, nullptr, 0, NI_NUMERICHOST) == 0) {
            lookup.addresses.emplace_back(numeric);
        }
    }
    return lookup;
}

}  // namespace setip::builtin
