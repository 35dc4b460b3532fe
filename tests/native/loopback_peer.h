#pragma once

#include "printer/native/posix/unique_fd.h"

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace setip::testing_support {

using Bytes = std::vector<std::uint8_t>;

// A socket listening on a loopback address, on a port the kernel picks.
class LoopbackListener {
public:
    explicit LoopbackListener(const std::string& host = "127.0.0.1", int backlog = 16);
    std::uint16_t port() const { return port_; }
    std::string address() const { return host_ + ":" + std::to_string(port_); }
    int fd() const { return fd_.get(); }

private:
    std::string host_;
    native::UniqueFd fd_;
    std::uint16_t port_ = 0;
};

// What a printer does on the far side of a connection.
enum class PeerBehaviour {
    readToEnd,         // reads until the sender closes, then closes
    resetAfterOneKiB,  // reads 1 KiB, then aborts the connection with a reset
};

// A printer on loopback: accepts connections one at a time on its own thread and keeps what each one sent.
class LoopbackPrinter {
public:
    explicit LoopbackPrinter(PeerBehaviour behaviour = PeerBehaviour::readToEnd, const std::string& host = "127.0.0.1");
    ~LoopbackPrinter();
    LoopbackPrinter(const LoopbackPrinter&) = delete;
    LoopbackPrinter& operator=(const LoopbackPrinter&) = delete;

    std::string address() const { return listener_.address(); }
    // The bytes of each finished connection, once `count` have finished or the wait ran out.
    std::vector<Bytes> connections(std::size_t count, std::chrono::milliseconds wait = std::chrono::seconds{5});

private:
    void serve();

    LoopbackListener listener_;
    PeerBehaviour behaviour_;
    native::UniqueFd stop_;  // eventfd that ends the serving thread
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
    LoopbackListener listener_;
    std::vector<native::UniqueFd> fillers_;
};

// How many descriptors this process has open.
std::size_t openDescriptorCount();

}  // namespace setip::testing_support
