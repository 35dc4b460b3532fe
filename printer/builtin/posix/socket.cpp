#include "printer/builtin/socket.h"

#include "printer/builtin/port.h"

#include <poll.h>

#include <cerrno>

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

// poll shows a failed connect as writable; pendingError then tells. A poll that fails counts as no answer.
Readiness waitFor(const Socket& socket, bool forWriting, Deadline deadline) {
    for (;;) {
        const short events = forWriting ? POLLOUT : POLLIN;
        pollfd entry{socket.get(), events, 0};
        const int ready = ::poll(&entry, 1, millisecondsLeft(deadline));
        if (ready > 0) return Readiness::ready;
        if (ready == 0 || errno != EINTR) return Readiness::timedOut;
    }
}

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

bool receiveAndDrop(const Socket& socket) {
    std::uint8_t ignored[256];
    const ssize_t received = ::recv(socket.get(), ignored, sizeof ignored, 0);
    return received != 0 && (received > 0 || errno == EINTR || errno == EAGAIN);
}

}  // namespace setip::builtin
