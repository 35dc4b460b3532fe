#include "printer/builtin/socket.h"

#include "printer/builtin/port.h"

#include <algorithm>
#include <array>
#include <memory>

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
// failed connects on older systems. FD_SETSIZE is raised for this file (CMakeLists.txt) from Winsock's 64, so that
// a scan's whole window of connects is waited on at once.
void waitForAny(std::span<SocketWait> sockets, Deadline deadline) {
    // Three sets of FD_SETSIZE sockets: 24 KB, off the stack.
    const auto sets = std::make_unique<std::array<fd_set, 3>>();
    auto& [reading, writing, failed] = *sets;
    FD_ZERO(&reading);
    FD_ZERO(&writing);
    FD_ZERO(&failed);
    for (const SocketWait& wait : sockets) {
        FD_SET(wait.socket->get(), wait.forWriting ? &writing : &reading);
        FD_SET(wait.socket->get(), &failed);
    }
    const int left = millisecondsLeft(deadline);
    timeval timeout{left / 1000, (left % 1000) * 1000};
    const int ready = ::select(0, &reading, &writing, &failed, &timeout);
    for (SocketWait& wait : sockets) {
        const SOCKET socket = wait.socket->get();
        wait.readiness = ready < 0 || FD_ISSET(socket, &failed)                      ? Readiness::failed
                         : FD_ISSET(socket, wait.forWriting ? &writing : &reading) ? Readiness::ready
                                                                                   : Readiness::timedOut;
    }
}

std::size_t mostSocketsInOneWait() { return FD_SETSIZE; }

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

std::optional<std::size_t> receiveSome(const Socket& socket, std::span<std::uint8_t> room) {
    const int piece = static_cast<int>(std::min<std::size_t>(room.size(), 1 << 20));
    const int received = ::recv(socket.get(), reinterpret_cast<char*>(room.data()), piece, 0);
    if (received >= 0) return static_cast<std::size_t>(received);
    if (::WSAGetLastError() == WSAEWOULDBLOCK) return std::nullopt;
    return 0;
}

}  // namespace setip::builtin
