#pragma once

#include "common/unique_resource.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace setip {

// Starts Winsock once for the process, on the first socket or lookup, and stops it at exit. 0 when Winsock is
// usable, else WSAStartup's error.
int startWinsock();

struct SocketTraits {
    using Handle = SOCKET;
    static SOCKET none() noexcept { return INVALID_SOCKET; }
    static bool valid(SOCKET socket) noexcept { return socket != INVALID_SOCKET; }
    static void release(SOCKET socket) noexcept { ::closesocket(socket); }
};

// Owns one socket and closes it exactly once.
using UniqueSocket = UniqueResource<SocketTraits>;

}  // namespace setip
