#include "printer/builtin/resolver.h"

#include "common/system_error.h"
#include "common/unique_resource.h"
#include "common/win32/wide_text.h"
#include "printer/builtin/socket.h"

namespace setip::builtin {

NameLookup lookUpWithoutDeadline(const std::string& host) {
    startSockets();
    ADDRINFOW hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    ADDRINFOW* found = nullptr;
    NameLookup lookup;
    if (const int status = ::GetAddrInfoW(wideFromUtf8(host).c_str(), nullptr, &hints, &found); status != 0) {
        lookup.error = systemErrorText(static_cast<SystemError>(status));
        return lookup;
    }
    const UniqueResource<PointerHandleTraits<ADDRINFOW*, ::FreeAddrInfoW>> owned{found};
    for (const ADDRINFOW* entry = found; entry != nullptr; entry = entry->ai_next) {
        wchar_t numeric[NI_MAXHOST];
        if (::GetNameInfoW(entry->ai_addr, static_cast<socklen_t>(entry->ai_addrlen), numeric, NI_MAXHOST, nullptr, 0,
                           NI_NUMERICHOST) == 0) {
            lookup.addresses.push_back(utf8FromWide(numeric));
        }
    }
    return lookup;
}

}  // namespace setip::builtin
