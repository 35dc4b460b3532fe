#pragma once

#include "printer/native/win32/winsock.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace setip::testing_support {

using Bytes = std::vector<std::uint8_t>;

// A Winsock listener on 127.0.0.1, on a port the system picks unless one is given.
class WinsockListener {
public:
    explicit WinsockListener(int backlog = 16, std::uint16_t port = 0);
    std::uint16_t port() const { return port_; }
    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
    SOCKET socket() const { return socket_.get(); }

private:
    native::UniqueSocket socket_;
    std::uint16_t port_ = 0;
};

// What a printer does on the far side of a connection.
enum class PeerBehaviour {
    readToEnd,         // reads until the sender closes, then closes
    resetAfterOneKiB,  // reads 1 KiB, then aborts the connection with a reset
};

// A printer on loopback: accepts connections one at a time on its own thread and keeps what each one sent.
class WinsockPrinter {
public:
    explicit WinsockPrinter(PeerBehaviour behaviour = PeerBehaviour::readToEnd, std::uint16_t port = 0);
    ~WinsockPrinter();
    WinsockPrinter(const WinsockPrinter&) = delete;
    WinsockPrinter& operator=(const WinsockPrinter&) = delete;

    std::string address() const { return listener_.address(); }
    // The bytes of each finished connection, once `count` have finished or the wait ran out.
    std::vector<Bytes> connections(std::size_t count, std::chrono::milliseconds wait = std::chrono::seconds{5});

private:
    void serve();

    WinsockListener listener_;
    PeerBehaviour behaviour_;
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::vector<Bytes> finished_;
    std::thread thread_;
};

// A listener that never accepts and whose backlog is full, so a further connect hangs as it does to a printer that
// is switched off.
class FullBacklog {
public:
    FullBacklog();
    std::string address() const { return listener_.address(); }

private:
    WinsockListener listener_;
    std::vector<native::UniqueSocket> fillers_;
};

// How many kernel handles this process holds.
std::size_t openHandleCount();

}  // namespace setip::testing_support
