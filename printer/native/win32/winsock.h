#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <utility>

namespace setip::native {

// Starts Winsock once for the process, on the first socket or lookup, and stops it at exit. Throws PortFailure
// when the system has no usable Winsock.
void startWinsock();

// Owns one socket and closes it exactly once.
class UniqueSocket {
public:
    UniqueSocket() = default;
    explicit UniqueSocket(SOCKET socket) noexcept : socket_(socket) {}
    UniqueSocket(UniqueSocket&& other) noexcept : socket_(std::exchange(other.socket_, INVALID_SOCKET)) {}
    UniqueSocket& operator=(UniqueSocket&& other) noexcept {
        if (this != &other) reset(std::exchange(other.socket_, INVALID_SOCKET));
        return *this;
    }
    UniqueSocket(const UniqueSocket&) = delete;
    UniqueSocket& operator=(const UniqueSocket&) = delete;
    ~UniqueSocket() { reset(); }

    SOCKET get() const noexcept { return socket_; }
    explicit operator bool() const noexcept { return socket_ != INVALID_SOCKET; }

    void reset(SOCKET socket = INVALID_SOCKET) noexcept {
        if (socket_ != INVALID_SOCKET) ::closesocket(socket_);
        socket_ = socket;
    }

private:
    SOCKET socket_ = INVALID_SOCKET;
};

}  // namespace setip::native
