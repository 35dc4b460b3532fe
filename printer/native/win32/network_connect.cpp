#include "common/deadline.h"
#include "printer/native/deadlines.h"
#include "printer/native/network_connect.h"
#include "printer/native/win32/system_failure.h"
#include "printer/native/win32/winsock.h"

#include <optional>

namespace setip::native {
namespace {

// A socket address built from a numeric host; there is never a lookup here.
struct SocketAddress {
    sockaddr_storage storage{};
    int length = 0;

    int family() const { return storage.ss_family; }
    const sockaddr* get() const { return reinterpret_cast<const sockaddr*>(&storage); }
};

std::optional<SocketAddress> numericAddress(const std::string& host, std::uint16_t port) {
    SocketAddress address;
    auto* v4 = reinterpret_cast<sockaddr_in*>(&address.storage);
    if (::inet_pton(AF_INET, host.c_str(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = ::htons(port);
        address.length = sizeof(sockaddr_in);
        return address;
    }
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&address.storage);
    if (::inet_pton(AF_INET6, host.c_str(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = ::htons(port);
        address.length = sizeof(sockaddr_in6);
        return address;
    }
    return std::nullopt;
}

enum class Readiness { ready, failed, timedOut };

// Waits until the socket can be written (or read) before the deadline. A connect that failed shows in the
// exception set, which is why this is select and not WSAPoll: WSAPoll misses failed connects on older systems.
Readiness waitFor(SOCKET socket, bool forWriting, Deadline deadline) {
    fd_set wanted;
    fd_set failed;
    FD_ZERO(&wanted);
    FD_ZERO(&failed);
    FD_SET(socket, &wanted);
    FD_SET(socket, &failed);
    const int left = millisecondsLeft(deadline);
    timeval timeout{left / 1000, (left % 1000) * 1000};
    const int ready = ::select(0, forWriting ? nullptr : &wanted, forWriting ? &wanted : nullptr, &failed, &timeout);
    if (ready == 0) return Readiness::timedOut;
    if (ready < 0 || FD_ISSET(socket, &failed)) return Readiness::failed;
    return Readiness::ready;
}

unsigned long socketError(SOCKET socket) {
    int error = 0;
    int length = sizeof error;
    if (::getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0) {
        return static_cast<unsigned long>(::WSAGetLastError());
    }
    return static_cast<unsigned long>(error);
}

UniqueSocket connectTo(const SocketAddress& address, const std::string& name, Deadline deadline) {
    UniqueSocket socket{::WSASocketW(address.family(), SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT)};
    if (!socket) throw systemFailure("open a socket for", name, static_cast<unsigned long>(::WSAGetLastError()));
    u_long nonBlocking = 1;
    if (::ioctlsocket(socket.get(), FIONBIO, &nonBlocking) != 0) {
        throw systemFailure("open a socket for", name, static_cast<unsigned long>(::WSAGetLastError()));
    }
    if (::connect(socket.get(), address.get(), address.length) == 0) return socket;
    const int started = ::WSAGetLastError();
    if (started != WSAEWOULDBLOCK) throw systemFailure("connect to", name, static_cast<unsigned long>(started));
    switch (waitFor(socket.get(), true, deadline)) {
        case Readiness::timedOut:
            throw PortFailure("cannot connect to " + name + ": no answer within " +
                              std::to_string(connectBudget.count()) + " s (is the printer on?)");
        case Readiness::failed: throw systemFailure("connect to", name, socketError(socket.get()));
        case Readiness::ready: break;
    }
    if (const unsigned long error = socketError(socket.get()); error != 0) throw systemFailure("connect to", name, error);
    return socket;
}

class NetworkPort final : public Port {
public:
    NetworkPort(UniqueSocket socket, std::string name) : socket_(std::move(socket)), name_(std::move(name)) {}

    void write(std::span<const std::uint8_t> bytes) override {
        const Deadline deadline = deadlineAfter(writeBudget);
        while (!bytes.empty()) {
            // send takes an int; a large buffer goes in pieces.
            const int piece = static_cast<int>(std::min<std::size_t>(bytes.size(), 1 << 20));
            const int sent = ::send(socket_.get(), reinterpret_cast<const char*>(bytes.data()), piece, 0);
            if (sent > 0) {
                bytes = bytes.subspan(static_cast<std::size_t>(sent));
                continue;
            }
            const int error = ::WSAGetLastError();
            if (sent < 0 && error == WSAEWOULDBLOCK) {
                const Readiness readiness = waitFor(socket_.get(), true, deadline);
                if (readiness == Readiness::timedOut) {
                    throw PortFailure("cannot send to " + name_ + ": the printer took nothing for " +
                                      std::to_string(writeBudget.count()) + " s");
                }
                if (readiness == Readiness::failed) throw systemFailure("send to", name_, socketError(socket_.get()));
            } else {
                throw systemFailure("send to", name_, static_cast<unsigned long>(error));
            }
        }
    }

    // Half-closes and lets the printer read to the end and hang up, so closing early never cuts the command short.
    void close() override {
        const Deadline deadline = deadlineAfter(closeBudget);
        ::shutdown(socket_.get(), SD_SEND);
        char ignored[256];
        while (waitFor(socket_.get(), false, deadline) == Readiness::ready) {
            const int received = ::recv(socket_.get(), ignored, sizeof ignored, 0);
            if (received == 0 || (received < 0 && ::WSAGetLastError() != WSAEWOULDBLOCK)) break;
        }
        socket_.reset();
    }

private:
    UniqueSocket socket_;
    std::string name_;
};

}  // namespace

bool isNumericHost(const std::string& host) {
    startWinsock();
    return numericAddress(host, 0).has_value();
}

std::unique_ptr<Port> connectNetworkPort(const std::string& numericHost, std::uint16_t port, const std::string& shown,
                                         Deadline deadline) {
    startWinsock();
    const auto address = numericAddress(numericHost, port);
    if (!address) throw PortFailure("cannot connect to " + shown + ": \"" + numericHost + "\" is no numeric address");
    return std::make_unique<NetworkPort>(connectTo(*address, shown, deadline), shown);
}

}  // namespace setip::native
