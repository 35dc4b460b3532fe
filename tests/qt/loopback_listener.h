#pragma once

#include <cstdint>
#include <future>
#include <string>
#include <vector>

namespace setip::testing_support {

// A printer stand-in on a loopback address: accepts one connection on a free port and keeps every byte until the
// peer closes, then closes too. Bounded: it gives up after five seconds.
class LoopbackListener {
public:
    explicit LoopbackListener(const std::string& address);
    ~LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    std::uint16_t port() const { return port_; }
    // Waits for the connection to end and gives what it carried.
    std::vector<std::uint8_t> received();

private:
    std::uint16_t port_ = 0;  // before fd_: opening the socket sets it
    int fd_ = -1;
    std::future<std::vector<std::uint8_t>> bytes_;
};

// A port on `address` held bound but never listening, so a connection to it is refused.
class RefusingPort {
public:
    explicit RefusingPort(const std::string& address);
    ~RefusingPort();
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;
    std::uint16_t port() const { return port_; }

private:
    std::uint16_t port_ = 0;  // before fd_: opening the socket sets it
    int fd_ = -1;
};

}  // namespace setip::testing_support
