#include "tests/win32/winsock_peer.h"

#include <windows.h>

#include <stdexcept>
#include <system_error>

namespace setip::testing_support {
namespace {

[[noreturn]] void fail(const char* what) { throw std::system_error(::WSAGetLastError(), std::system_category(), what); }

bool ready(SOCKET socket, bool forWriting, long milliseconds) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket, &set);
    timeval timeout{milliseconds / 1000, (milliseconds % 1000) * 1000};
    return ::select(0, forWriting ? nullptr : &set, forWriting ? &set : nullptr, nullptr, &timeout) > 0;
}

}  // namespace

WinsockListener::WinsockListener(int backlog, std::uint16_t port) {
    startWinsock();
    socket_.reset(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    address_.sin_family = AF_INET;
    address_.sin_port = ::htons(port);
    address_.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
    int length = sizeof address_;
    if (!socket_ || ::bind(socket_.get(), reinterpret_cast<sockaddr*>(&address_), length) != 0 ||
        ::listen(socket_.get(), backlog) != 0 ||
        ::getsockname(socket_.get(), reinterpret_cast<sockaddr*>(&address_), &length) != 0) {
        fail("cannot listen on 127.0.0.1");
    }
}

std::string WinsockListener::address() const { return "127.0.0.1:" + std::to_string(::ntohs(address_.sin_port)); }

Bytes WinsockListener::receive(std::chrono::milliseconds wait) const {
    if (!ready(socket_.get(), false, static_cast<long>(wait.count()))) throw std::runtime_error("no connection came");
    const UniqueSocket connection{::accept(socket_.get(), nullptr, nullptr)};
    Bytes received;
    char buffer[4096];
    int count = 0;
    while (connection && ready(connection.get(), false, 5000) &&
           (count = ::recv(connection.get(), buffer, sizeof buffer, 0)) > 0) {
        received.insert(received.end(), buffer, buffer + count);
    }
    return received;
}

void WinsockListener::fillBacklog() {
    // Connects complete into the accept queue until it is full; the first that stays pending shows it is.
    for (int attempt = 0; attempt < 16; ++attempt) {
        UniqueSocket filler{::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)};
        u_long nonBlocking = 1;
        ::ioctlsocket(filler.get(), FIONBIO, &nonBlocking);
        ::connect(filler.get(), reinterpret_cast<const sockaddr*>(&address_), sizeof address_);
        const bool connected = ready(filler.get(), true, 200);
        fillers_.push_back(std::move(filler));
        if (!connected) return;
    }
    throw std::runtime_error("the listen backlog never filled");
}

}  // namespace setip::testing_support
