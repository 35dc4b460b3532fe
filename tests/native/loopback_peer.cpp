#include "tests/native/loopback_peer.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>

#include <cerrno>
#include <stdexcept>
#include <system_error>

namespace setip::testing_support {
namespace {

[[noreturn]] void fail(const char* what) { throw std::system_error(errno, std::generic_category(), what); }

sockaddr_in loopback(const std::string& host, std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (::inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1) throw std::invalid_argument(host);
    return address;
}

bool readable(int fd, int milliseconds) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, milliseconds) > 0;
}

}  // namespace

LoopbackListener::LoopbackListener(const std::string& host, int backlog)
    : host_(host), fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    if (!fd_) fail("socket");
    const int on = 1;
    ::setsockopt(fd_.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    auto address = loopback(host, 0);
    if (::bind(fd_.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) fail("bind");
    if (::listen(fd_.get(), backlog) != 0) fail("listen");
    socklen_t length = sizeof address;
    ::getsockname(fd_.get(), reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
}

LoopbackPrinter::LoopbackPrinter(PeerBehaviour behaviour, const std::string& host)
    : listener_(host), behaviour_(behaviour), stop_(::eventfd(0, EFD_CLOEXEC)) {
    if (!stop_) fail("eventfd");
    thread_ = std::thread([this] { serve(); });
}

LoopbackPrinter::~LoopbackPrinter() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(stop_.get(), &one, sizeof one);
    thread_.join();
}

void LoopbackPrinter::serve() {
    for (;;) {
        pollfd entries[] = {{listener_.fd(), POLLIN, 0}, {stop_.get(), POLLIN, 0}};
        if (::poll(entries, 2, -1) < 0 && errno != EINTR) return;
        if (entries[1].revents != 0) return;
        if (entries[0].revents == 0) continue;
        native::UniqueFd connection{::accept4(listener_.fd(), nullptr, nullptr, SOCK_CLOEXEC)};
        if (!connection) continue;

        Bytes received;
        std::uint8_t buffer[4096];
        while (readable(connection.get(), 5000)) {
            const std::size_t wanted = behaviour_ == PeerBehaviour::resetAfterOneKiB ? 1024 - received.size() : sizeof buffer;
            const ssize_t count = ::recv(connection.get(), buffer, wanted, 0);
            if (count <= 0) break;
            received.insert(received.end(), buffer, buffer + count);
            if (behaviour_ == PeerBehaviour::resetAfterOneKiB && received.size() >= 1024) {
                const linger abort{1, 0};
                ::setsockopt(connection.get(), SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
                break;
            }
        }
        connection.reset();
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

FullBacklog::FullBacklog() : listener_("127.0.0.1", 0) {
    // Connects complete into the accept queue until it is full; the first that stays pending shows it is.
    const auto address = loopback("127.0.0.1", listener_.port());
    for (int attempt = 0; attempt < 16; ++attempt) {
        native::UniqueFd filler{::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)};
        ::connect(filler.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
        pollfd entry{filler.get(), POLLOUT, 0};
        const bool connected = ::poll(&entry, 1, 200) > 0;
        fillers_.push_back(std::move(filler));
        if (!connected) return;
    }
    throw std::runtime_error("the listen backlog never filled");
}

std::size_t openDescriptorCount() {
    DIR* directory = ::opendir("/proc/self/fd");
    if (directory == nullptr) fail("opendir /proc/self/fd");
    std::size_t count = 0;
    while (::readdir(directory) != nullptr) ++count;
    ::closedir(directory);
    return count - 3;  // ".", ".." and the directory's own descriptor
}

}  // namespace setip::testing_support
