#include "printer/builtin/network_port.h"

#include "common/text.h"
#include "printer/builtin/network_address.h"
#include "printer/builtin/socket.h"

#include <optional>
#include <utility>

namespace setip::builtin {
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
    Socket socket = openStreamSocket(address.family(), name);
    if (startConnecting(socket, address.get(), address.length, name)) return socket;
    switch (waitFor(socket, true, deadline)) {
        case Readiness::timedOut:
            throw PrinterFailure("cannot connect to " + name + ": no answer within " +
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
            if (const std::size_t sent = sendSome(socket_, bytes, name_); sent > 0) {
                bytes = bytes.subspan(sent);
                continue;
            }
            switch (waitFor(socket_, true, deadline)) {
                case Readiness::timedOut:
                    throw PrinterFailure("cannot send to " + name_ + ": the printer took nothing for " +
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

}  // namespace

std::unique_ptr<Port> openNetworkPort(std::string_view name, const NameResolver& resolver) {
    const Deadline deadline = deadlineAfter(connectBudget);
    const NetworkAddress address = parseNetworkAddress(name);

    startSockets();
    const std::string shown = address.host + ":" + std::to_string(address.port);
    const auto hosts = numericAddress(address.host, 0) ? std::vector<std::string>{address.host}
                                                       : resolver.lookUp(address.host, deadline);
    // A name can stand for several addresses (localhost is 127.0.0.1 and ::1); the first that connects is used.
    std::optional<PrinterFailure> lastFailure;
    for (const auto& host : hosts) {
        const auto numeric = numericAddress(host, address.port);
        if (!numeric) {
            lastFailure = PrinterFailure("cannot connect to " + shown + ": " + quoted(host) + " is no numeric address");
            continue;
        }
        try {
            return std::make_unique<NetworkPort>(connectTo(*numeric, shown, deadline), shown);
        } catch (const PrinterFailure& failure) {
            lastFailure = failure;
        }
    }
    throw lastFailure.value_or(PrinterFailure("cannot look up " + address.host + ": no address"));
}

}  // namespace setip::builtin
