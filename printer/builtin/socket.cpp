#include "printer/builtin/socket.h"

#include "printer/builtin/port.h"

namespace setip::builtin {

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

Readiness waitFor(const Socket& socket, bool forWriting, Deadline deadline) {
    SocketWait wait{&socket, forWriting};
    waitForAny({&wait, 1}, deadline);
    return wait.readiness;
}

bool receiveAndDrop(const Socket& socket) {
    std::uint8_t ignored[256];
    const auto received = receiveSome(socket, ignored);
    return !received || *received > 0;
}

}  // namespace setip::builtin
