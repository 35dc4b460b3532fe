#include "tests/win32/winsock_peer.h"

#include <windows.h>

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

WinsockPrinter::WinsockPrinter(PeerBehaviour behaviour, std::uint16_t port)
    : listener_(16, port), behaviour_(behaviour) {
    thread_ = std::thread([this] { serve(); });
}

WinsockPrinter::~WinsockPrinter() {
    stopping_ = true;
    thread_.join();
}

void WinsockPrinter::serve() {
    while (!stopping_) {
        if (!ready(listener_.socket(), false, 20)) continue;
        native::UniqueSocket connection{::accept(listener_.socket(), nullptr, nullptr)};
        if (!connection) continue;

        Bytes received;
        std::uint8_t buffer[4096];
        while (ready(connection.get(), false, 5000)) {
            const int wanted = behaviour_ == PeerBehaviour::resetAfterOneKiB ? 1024 - static_cast<int>(received.size())
                                                                             : static_cast<int>(sizeof buffer);
            const int count = ::recv(connection.get(), reinterpret_cast<char*>(buffer), wanted, 0);
            if (count <= 0) break;
            received.insert(received.end(), buffer, buffer + count);
            if (behaviour_ == PeerBehaviour::resetAfterOneKiB && received.size() >= 1024) {
                const linger abort{1, 0};
                ::setsockopt(connection.get(), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
                break;
            }
        }
        connection.reset();
        const std::lock_guard lock{mutex_};
        finished_.push_back(std::move(received));
    }
}

std::vector<Bytes> WinsockPrinter::connections(std::size_t count, std::chrono::milliseconds wait) {
    const auto until = std::chrono::steady_clock::now() + wait;
    for (;;) {
        {
            const std::lock_guard lock{mutex_};
            if (finished_.size() >= count || std::chrono::steady_clock::now() >= until) return finished_;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds{2});
    }
}

FullBacklog::FullBacklog() : listener_(0) {
    // Connects complete into the accept queue until it is full; the first that stays pending shows it is.
    const auto address = loopback(listener_.port());
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

std::size_t openHandleCount() {
    DWORD count = 0;
    if (!::GetProcessHandleCount(::GetCurrentProcess(), &count)) fail("GetProcessHandleCount");
    return count;
}

}  // namespace setip::testing_support
