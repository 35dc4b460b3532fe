#include "printer/builtin/network_port.h"

#include "common/text.h"
#include "printer/builtin/network_address.h"
#include "printer/builtin/socket.h"

#include <optional>
#include <utility>

namespace setip::builtin {
namespace {

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

std::string shown(const NetworkAddress& address) { return address.host + ":" + std::to_string(address.port); }

// A connection to the first of the address's hosts that takes one: a name can stand for several addresses
// (localhost is 127.0.0.1 and ::1).
Socket connectToAny(const NetworkAddress& address, const NameResolver& resolver, Deadline deadline) {
    startSockets();
    const auto hosts = numericAddress(address.host, 0) ? std::vector<std::string>{address.host}
                                                       : resolver.lookUp(address.host, deadline);
    std::optional<PrinterFailure> lastFailure;
    for (const auto& host : hosts) {
        const auto numeric = numericAddress(host, address.port);
        if (!numeric) {
            lastFailure = PrinterFailure("cannot connect to " + shown(address) + ": " + quoted(host) +
                                         " is no numeric address");
            continue;
        }
        try {
            return connectTo(*numeric, shown(address), deadline);
        } catch (const PrinterFailure& failure) {
            lastFailure = failure;
        }
    }
    throw lastFailure.value_or(PrinterFailure("cannot look up " + address.host + ": no address"));
}

}  // namespace

std::unique_ptr<Port> openNetworkPort(std::string_view name, const NameResolver& resolver) {
    const Deadline deadline = deadlineAfter(connectBudget);
    const NetworkAddress address = parseNetworkAddress(name);
    return std::make_unique<NetworkPort>(connectToAny(address, resolver, deadline), shown(address));
}

bool acceptsConnection(const NetworkAddress& address, const NameResolver& resolver, Deadline deadline) {
    try {
        connectToAny(address, resolver, deadline);
        return true;
    } catch (const PrinterFailure&) {
        return false;
    }
}

}  // namespace setip::builtin
