#include "tests/native/loopback_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace setip::testing_support {
namespace {

sockaddr_in loopback(const std::string& host, std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    ::inet_pton(AF_INET, host.c_str(), &address.sin_addr);
    return address;
}

// Listens on host and a free port; gives the "host:port" it got.
UniqueFd listenOn(const std::string& host, int backlog, std::string& address) {
    UniqueFd fd{::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)};
    auto bound = loopback(host, 0);
    socklen_t length = sizeof bound;
    if (::bind(fd.get(), reinterpret_cast<sockaddr*>(&bound), length) != 0 || ::listen(fd.get(), backlog) != 0 ||
        ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&bound), &length) != 0) {
        throw std::system_error(errno, std::generic_category(), "listen on " + host);
    }
    address = host + ":" + std::to_string(ntohs(bound.sin_port));
    return fd;
}

}  // namespace

LoopbackPrinter::LoopbackPrinter(PeerBehaviour behaviour, const std::string& host)
    : listener_(listenOn(host, 16, address_)), behaviour_(behaviour), thread_([this] { serve(); }) {}

LoopbackPrinter::~LoopbackPrinter() {
    ::shutdown(listener_.get(), SHUT_RDWR);  // wakes the accept with an error, which ends the thread
    thread_.join();
}

void LoopbackPrinter::serve() {
    for (;;) {
        const UniqueFd connection{::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC)};
        if (!connection) return;
        const std::size_t limit = behaviour_ == PeerBehaviour::resetAfterOneKiB ? 1024 : SIZE_MAX;
        Bytes received;
        std::uint8_t buffer[4096];
        pollfd entry{connection.get(), POLLIN, 0};
        while (received.size() < limit && ::poll(&entry, 1, 5000) > 0) {
            const ssize_t count = ::recv(connection.get(), buffer, std::min(sizeof buffer, limit - received.size()), 0);
            if (count <= 0) break;
            received.insert(received.end(), buffer, buffer + count);
        }
        if (received.size() >= limit) {
            const linger abort{1, 0};
            ::setsockopt(connection.get(), SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
        }
        const std::lock_guard lock{mutex_};
        finished_.push_back(std::move(received));
    }
}

std::vector<Bytes> LoopbackPrinter::connections(std::size_t count, std::chrono::milliseconds wait) {
    const auto until = std::chrono::steady_clock::now() + wait;
    for (;;) {
        {
            const std::lock_guard lock{mutex_};
            if (finished_.size() >= count || std::chrono::steady_clock::now() >= until) return finished_;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds{2});
    }
}

FullBacklog::FullBacklog() : listener_(listenOn("127.0.0.1", 0, address_)) {
    // Connects complete into the accept queue until it is full; the first that stays pending shows it is.
    const auto target = loopback("127.0.0.1", static_cast<std::uint16_t>(std::stoi(address_.substr(10))));
    for (int attempt = 0; attempt < 16; ++attempt) {
        UniqueFd& filler = fillers_.emplace_back(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        ::connect(filler.get(), reinterpret_cast<const sockaddr*>(&target), sizeof target);
        pollfd entry{filler.get(), POLLOUT, 0};
        if (::poll(&entry, 1, 200) == 0) return;
    }
    throw std::runtime_error("the listen backlog never filled");
}

std::string refusingAddress() {
    std::string address;
    listenOn("127.0.0.1", 1, address);  // closed again at once, so the port is free and refuses
    return address;
}

std::size_t openDescriptorCount() {
    const std::filesystem::directory_iterator open{"/proc/self/fd"};
    return static_cast<std::size_t>(std::distance(begin(open), end(open))) - 1;  // less the iterator's own
}

}  // namespace setip::testing_support
