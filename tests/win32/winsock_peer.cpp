#include "tests/win32/winsock_peer.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <system_error>

namespace setip::testing_support {
namespace {

[[noreturn]] void fail(const char* what) { throw std::system_error(::WSAGetLastError(), std::system_category(), what); }

sockaddr_in loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = ::htons(port);
    address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
    return address;
}

bool ready(SOCKET socket, bool forWriting, long milliseconds) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket, &set);
    timeval timeout{milliseconds / 1000, (milliseconds % 1000) * 1000};
    return ::select(0, forWriting ? nullptr : &set, forWriting ? &set : nullptr, nullptr, &timeout) > 0;
}

}  // namespace

WinsockListener::WinsockListener(int backlog, std::uint16_t port) {
    native::startWinsock();
    socket_.reset(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!socket_) fail("socket");
    auto address = loopback(port);
    if (::bind(socket_.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) fail("bind");
    if (::listen(socket_.get(), backlog) != 0) fail("listen");
    int length = sizeof address;
    ::getsockname(socket_.get(), reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ::ntohs(address.sin_port);
}

Bytes WinsockListener::receive(std::chrono::milliseconds wait, std::size_t resetAfter) const {
    if (!ready(socket_.get(), false, static_cast<long>(wait.count()))) throw std::runtime_error("no connection came");
    const native::UniqueSocket connection{::accept(socket_.get(), nullptr, nullptr)};
    if (!connection) fail("accept");
    Bytes received;
    char buffer[4096];
    while (ready(connection.get(), false, 5000)) {
        const std::size_t wanted = resetAfter > 0 ? resetAfter - received.size() : sizeof buffer;
        const int count = ::recv(connection.get(), buffer, static_cast<int>(std::min(wanted, sizeof buffer)), 0);
        if (count <= 0) break;
        received.insert(received.end(), buffer, buffer + count);
        if (received.size() == resetAfter) {
            const linger abort{1, 0};
            ::setsockopt(connection.get(), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
            break;
        }
    }
    return received;
}

void WinsockListener::fillBacklog() {
    // Connects complete into the accept queue until it is full; the first that stays pending shows it is.
    const auto address = loopback(port_);
    for (int attempt = 0; attempt < 16; ++attempt) {
        native::UniqueSocket filler{::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)};
        u_long nonBlocking = 1;
        ::ioctlsocket(filler.get(), FIONBIO, &nonBlocking);
        ::connect(filler.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
        const bool connected = ready(filler.get(), true, 200);
        fillers_.push_back(std::move(filler));
        if (!connected) return;
    }
    throw std::runtime_error("the listen backlog never filled");
}

}  // namespace setip::testing_support
