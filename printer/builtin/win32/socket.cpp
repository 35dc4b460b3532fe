#include "printer/builtin/socket.h"

#include "printer/builtin/port.h"

#include <algorithm>

namespace setip::builtin {
namespace {

SystemError lastSocketError() { return static_cast<SystemError>(::WSAGetLastError()); }

}  // namespace

void startSockets() {
    if (const int status = startWinsock(); status != 0) {
        throw systemFailure("start", "Winsock", static_cast<SystemError>(status));
    }
}

Socket openStreamSocket(int family, const std::string& name) {
    Socket socket{::WSASocketW(family, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT)};
    u_long nonBlocking = 1;
    if (!socket || ::ioctlsocket(socket.get(), FIONBIO, &nonBlocking) != 0) {
        throw systemFailure("open a socket for", name, lastSocketError());
    }
    return socket;
}

bool startConnecting(const Socket& socket, const sockaddr* address, SocketLength length, const std::string& name) {
    if (::connect(socket.get(), address, length) == 0) return true;
    const SystemError error = lastSocketError();
    if (error == WSAEWOULDBLOCK) return false;
    throw systemFailure("connect to", name, error);
}

// A connect that failed shows in the exception set, which is why this is select and not WSAPoll: WSAPoll misses
// failed connects on older systems.
Readiness waitFor(const Socket& socket, bool forWriting, Deadline deadline) {
    fd_set wanted;
    fd_set failed;
    FD_ZERO(&wanted);
    FD_ZERO(&failed);
    FD_SET(socket.get(), &wanted);
    FD_SET(socket.get(), &failed);
    const int left = millisecondsLeft(deadline);
    timeval timeout{left / 1000, (left % 1000) * 1000};
    const int ready = ::select(0, forWriting ? nullptr : &wanted, forWriting ? &wanted : nullptr, &failed, &timeout);
    if (ready == 0) return Readiness::timedOut;
    if (ready < 0 || FD_ISSET(socket.get(), &failed)) return Readiness::failed;
    return Readiness::ready;
}

SystemError pendingError(const Socket& socket) {
    int error = 0;
    int length = sizeof error;
    if (::getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0) {
        return lastSocketError();
    }
    return static_cast<SystemError>(error);
}

std::size_t sendSome(const Socket& socket, std::span<const std::uint8_t> bytes, const std::string& name) {
    // send takes an int; a large buffer goes in pieces.
    const int piece = static_cast<int>(std::min<std::size_t>(bytes.size(), 1 << 20));
    const int sent = ::send(socket.get(), reinterpret_cast<const char*>(bytes.data()), piece, 0);
    if (sent > 0) return static_cast<std::size_t>(sent);
    const SystemError error = lastSocketError();
    if (sent < 0 && error == WSAEWOULDBLOCK) return 0;
    throw systemFailure("send to", name, error);
}

void shutdownSending(const Socket& socket) { ::shutdown(socket.get(), SD_SEND); }

bool receiveAndDrop(const Socket& socket) {
    char ignored[256];
    const int received = ::recv(socket.get(), ignored, sizeof ignored, 0);
    return received != 0 && (received > 0 || ::WSAGetLastError() == WSAEWOULDBLOCK);
}

}  // namespace setip::builtin
