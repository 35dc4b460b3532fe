#include "printer/builtin/socket.h"

#include "printer/builtin/port.h"

#include <poll.h>

#include <cerrno>
#include <limits>
#include <vector>

namespace setip::builtin {

// Linux's sockets need no start.
void startSockets() {}

Socket openStreamSocket(int family, const std::string& name) {
    Socket socket{::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)};
    if (!socket) throw systemFailure("open a socket for", name, lastSystemError());
    return socket;
}

bool startConnecting(const Socket& socket, const sockaddr* address, SocketLength length, const std::string& name) {
    if (::connect(socket.get(), address, length) == 0) return true;
    if (errno == EINPROGRESS) return false;
    throw systemFailure("connect to", name, lastSystemError());
}

// poll shows a failed connect as writable; pendingError then tells.
void waitForAny(std::span<SocketWait> sockets, Deadline deadline) {
    std::vector<pollfd> entries;
    entries.reserve(sockets.size());
    for (const SocketWait& wait : sockets) {
        entries.push_back({wait.socket->get(), static_cast<short>(wait.forWriting ? POLLOUT : POLLIN), 0});
    }
    int ready = 0;
    while ((ready = ::poll(entries.data(), entries.size(), millisecondsLeft(deadline))) < 0 && errno == EINTR) {
    }
    for (std::size_t i = 0; i < sockets.size(); ++i) {
        sockets[i].readiness = ready < 0                ? Readiness::failed
                               : entries[i].revents != 0 ? Readiness::ready
                                                         : Readiness::timedOut;
    }
}

// poll takes as many as the process may open.
std::size_t mostSocketsInOneWait() { return std::numeric_limits<std::size_t>::max(); }

SystemError pendingError(const Socket& socket) {
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
    return static_cast<SystemError>(error);
}

std::size_t sendSome(const Socket& socket, std::span<const std::uint8_t> bytes, const std::string& name) {
    for (;;) {
        const ssize_t sent = ::send(socket.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) return static_cast<std::size_t>(sent);
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return 0;
        throw systemFailure("send to", name, lastSystemError());
    }
}

void shutdownSending(const Socket& socket) { ::shutdown(socket.get(), SHUT_WR); }

std::optional<std::size_t> receiveSome(const Socket& socket, std::span<std::uint8_t> room) {
    for (;;) {
        const ssize_t received = ::recv(socket.get(), room.data(), room.size(), 0);
        if (received >= 0) return static_cast<std::size_t>(received);
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return std::nullopt;
        return 0;
    }
}

}  // namespace setip::builtin
