#include "tests/qt/loopback_listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace setip::testing_support {
namespace {

constexpr int deadlineMilliseconds = 5000;

int boundSocket(const std::string& address, std::uint16_t& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw std::runtime_error("socket failed");
    sockaddr_in at{};
    at.sin_family = AF_INET;
    if (::inet_pton(AF_INET, address.c_str(), &at.sin_addr) != 1) throw std::runtime_error("not an address: " + address);
    socklen_t length = sizeof at;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&at), length) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&at), &length) != 0) {
        ::close(fd);
        throw std::runtime_error("cannot bind " + address);
    }
    port = ntohs(at.sin_port);
    return fd;
}

bool readable(int fd) {
    pollfd watched{fd, POLLIN, 0};
    return ::poll(&watched, 1, deadlineMilliseconds) == 1;
}

}  // namespace

LoopbackListener::LoopbackListener(const std::string& address) : fd_(boundSocket(address, port_)) {
    if (::listen(fd_, 1) != 0) throw std::runtime_error("listen failed");
    bytes_ = std::async(std::launch::async, [fd = fd_] {
        std::vector<std::uint8_t> bytes;
        if (!readable(fd)) return bytes;
        const int peer = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (peer < 0) return bytes;
        std::uint8_t buffer[256];
        while (readable(peer)) {
            const ssize_t got = ::read(peer, buffer, sizeof buffer);
            if (got <= 0) break;
            bytes.insert(bytes.end(), buffer, buffer + got);
        }
        ::close(peer);
        return bytes;
    });
}

LoopbackListener::~LoopbackListener() {
    if (bytes_.valid()) bytes_.wait();
    ::close(fd_);
}

std::vector<std::uint8_t> LoopbackListener::received() { return bytes_.get(); }

RefusingPort::RefusingPort(const std::string& address) : fd_(boundSocket(address, port_)) {}

RefusingPort::~RefusingPort() { ::close(fd_); }

}  // namespace setip::testing_support
