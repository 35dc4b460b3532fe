#include "common/text.h"
#include "printer/native/deadlines.h"
#include "printer/native/network_address.h"
#include "printer/native/ports.h"
#include "printer/native/stream_socket.h"
#include "printer/native/system_failure.h"

#include <optional>
#include <utility>

namespace setip::native {
namespace {

// A socket address built from a numeric host; there is never a lookup here.
struct SocketAddress {
    sockaddr_storage storage{};
    SocketLength length = 0;

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

Socket connectTo(const SocketAddress& address, const std::string& name, Deadline deadline) {
    SystemError error = 0;
    Socket socket = openStreamSocket(address.family(), error);
    if (!socket) throw systemFailure("open a socket for", name, error);
    switch (startConnecting(socket, address.get(), address.length, error)) {
        case ConnectStart::connected: return socket;
        case ConnectStart::failed: throw systemFailure("connect to", name, error);
        case ConnectStart::underWay: break;
    }
    switch (waitFor(socket, true, deadline)) {
        case Readiness::timedOut:
            throw PortFailure("cannot connect to " + name + ": no answer within " +
                              std::to_string(connectBudget.count()) + " s (is the printer on?)");
        case Readiness::failed: throw systemFailure("connect to", name, pendingError(socket));
        case Readiness::ready: break;
    }
    if (const SystemError failed = pendingError(socket); failed != 0) throw systemFailure("connect to", name, failed);
    return socket;
}

class NetworkPort final : public Port {
public:
    NetworkPort(Socket socket, std::string name) : socket_(std::move(socket)), name_(std::move(name)) {}

    void write(std::span<const std::uint8_t> bytes) override {
        const Deadline deadline = deadlineAfter(writeBudget);
        while (!bytes.empty()) {
            SystemError error = 0;
            const long sent = sendSome(socket_, bytes, error);
            if (sent > 0) {
                bytes = bytes.subspan(static_cast<std::size_t>(sent));
                continue;
            }
            if (sent < 0) throw systemFailure("send to", name_, error);
            switch (waitFor(socket_, true, deadline)) {
                case Readiness::timedOut:
                    throw PortFailure("cannot send to " + name_ + ": the printer took nothing for " +
                                      std::to_string(writeBudget.count()) + " s");
                case Readiness::failed: throw systemFailure("send to", name_, pendingError(socket_));
                case Readiness::ready: break;
            }
        }
    }

    // Half-closes and lets the printer read to the end and hang up, so closing early never cuts the command short.
    void close() override {
        const Deadline deadline = deadlineAfter(closeBudget);
        shutdownSending(socket_);
        while (waitFor(socket_, false, deadline) == Readiness::ready && receiveAndDrop(socket_)) {
        }
        socket_.reset();
    }

private:
    Socket socket_;
    std::string name_;
};

std::unique_ptr<Port> connectNetworkPort(const std::string& numericHost, std::uint16_t port, const std::string& shown,
                                         Deadline deadline) {
    const auto address = numericAddress(numericHost, port);
    if (!address) throw PortFailure("cannot connect to " + shown + ": " + quoted(numericHost) + " is no numeric address");
    return std::make_unique<NetworkPort>(connectTo(*address, shown, deadline), shown);
}

}  // namespace

std::unique_ptr<Port> openNetworkPort(std::string_view name, const NameResolver& resolver) {
    const Deadline deadline = deadlineAfter(connectBudget);
    const NetworkAddress address = parseNetworkAddress(name);

    startSockets();
    const std::string shown = address.host + ":" + std::to_string(address.port);
    const auto hosts = numericAddress(address.host, 0) ? std::vector<std::string>{address.host}
                                                        : resolver.lookUp(address.host, deadline);
    // A name can stand for several addresses (localhost is 127.0.0.1 and ::1); the first that connects is used.
    std::optional<PortFailure> lastFailure;
    for (const auto& host : hosts) {
        try {
            return connectNetworkPort(host, address.port, shown, deadline);
        } catch (const PortFailure& failure) {
            lastFailure = failure;
        }
    }
    throw lastFailure.value_or(PortFailure("cannot look up " + address.host + ": no address"));
}

}  // namespace setip::native
