#include "common/deadline.h"
#include "printer/native/deadlines.h"
#include "printer/native/network_connect.h"
#include "printer/native/posix/system_failure.h"
#include "printer/native/posix/unique_fd.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <optional>

namespace setip::native {
namespace {

// A socket address built from a numeric host; there is never a lookup here.
struct SocketAddress {
    sockaddr_storage storage{};
    socklen_t length = 0;

    int family() const { return storage.ss_family; }
    const sockaddr* get() const { return reinterpret_cast<const sockaddr*>(&storage); }
};

std::optional<SocketAddress> numericAddress(const std::string& host, std::uint16_t port) {
    SocketAddress address;
    auto* v4 = reinterpret_cast<sockaddr_in*>(&address.storage);
    if (::inet_pton(AF_INET, host.c_str(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(port);
        address.length = sizeof(sockaddr_in);
        return address;
    }
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&address.storage);
    if (::inet_pton(AF_INET6, host.c_str(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(port);
        address.length = sizeof(sockaddr_in6);
        return address;
    }
    return std::nullopt;
}

// Waits for `events` on the socket until the deadline. False when the deadline passed first.
bool waitFor(int fd, short events, Deadline deadline) {
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, millisecondsLeft(deadline));
        if (ready > 0) return true;
        if (ready == 0) return false;
        if (errno != EINTR) return false;
    }
}

UniqueFd connectTo(const SocketAddress& address, const std::string& name, Deadline deadline) {
    UniqueFd socket{::socket(address.family(), SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)};
    if (!socket) throw systemFailure("open a socket for", name, errno);
    if (::connect(socket.get(), address.get(), address.length) == 0) return socket;
    if (errno != EINPROGRESS) throw systemFailure("connect to", name, errno);
    if (!waitFor(socket.get(), POLLOUT, deadline)) {
        throw PortFailure("cannot connect to " + name + ": no answer within " +
                          std::to_string(connectBudget.count()) + " s (is the printer on?)");
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
    if (error != 0) throw systemFailure("connect to", name, error);
    return socket;
}

class NetworkPort final : public Port {
public:
    NetworkPort(UniqueFd socket, std::string name) : socket_(std::move(socket)), name_(std::move(name)) {}

    void write(std::span<const std::uint8_t> bytes) override {
        const Deadline deadline = deadlineAfter(writeBudget);
        while (!bytes.empty()) {
            const ssize_t sent = ::send(socket_.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (sent > 0) {
                bytes = bytes.subspan(static_cast<std::size_t>(sent));
            } else if (sent < 0 && errno == EINTR) {
                continue;
            } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                if (!waitFor(socket_.get(), POLLOUT, deadline)) {
                    throw PortFailure("cannot send to " + name_ + ": the printer took nothing for " +
                                      std::to_string(writeBudget.count()) + " s");
                }
            } else {
                throw systemFailure("send to", name_, errno);
            }
        }
    }

    // Half-closes and lets the printer read to the end and hang up, so closing early never cuts the command short.
    void close() override {
        const Deadline deadline = deadlineAfter(closeBudget);
        ::shutdown(socket_.get(), SHUT_WR);
        std::uint8_t ignored[256];
        while (waitFor(socket_.get(), POLLIN, deadline)) {
            const ssize_t received = ::recv(socket_.get(), ignored, sizeof ignored, 0);
            if (received == 0 || (received < 0 && errno != EINTR && errno != EAGAIN)) break;
        }
        socket_.reset();
    }

private:
    UniqueFd socket_;
    std::string name_;
};

}  // namespace

bool isNumericHost(const std::string& host) {
    return numericAddress(host, 0).has_value();
}

std::unique_ptr<Port> connectNetworkPort(const std::string& numericHost, std::uint16_t port, const std::string& shown,
                                         Deadline deadline) {
    const auto address = numericAddress(numericHost, port);
    if (!address) throw PortFailure("cannot connect to " + shown + ": \"" + numericHost + "\" is no numeric address");
    return std::make_unique<NetworkPort>(connectTo(*address, shown, deadline), shown);
}

}  // namespace setip::native
