#pragma once

#include "common/posix/unique_fd.h"

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace setip::testing_support {

using Bytes = std::vector<std::uint8_t>;

// What a printer does on the far side of a connection.
enum class PeerBehaviour {
    readToEnd,         // reads until the sender closes, then closes
    resetAfterOneKiB,  // reads 1 KiB, then aborts the connection with a reset
};

// A printer on a loopback address and a port the kernel picks. It serves one connection at a time on its own
// thread and keeps what each one sent.
class LoopbackPrinter {
public:
    explicit LoopbackPrinter(PeerBehaviour behaviour = PeerBehaviour::readToEnd, const std::string& host = "127.0.0.1");
    ~LoopbackPrinter();
    LoopbackPrinter(const LoopbackPrinter&) = delete;
    LoopbackPrinter& operator=(const LoopbackPrinter&) = delete;

    const std::string& address() const { return address_; }
    // The bytes of each finished connection, once `count` have finished or the wait ran out.
    std::vector<Bytes> connections(std::size_t count, std::chrono::milliseconds wait = std::chrono::seconds{5});

private:
    void serve();

    std::string address_;  // before listener_, which fills it in
    UniqueFd listener_;
    PeerBehaviour behaviour_;
    std::mutex mutex_;
    std::vector<Bytes> finished_;
    std::thread thread_;
};

// A listener that never accepts and whose backlog is full, so a further connect hangs as it does to a printer that
// is switched off.
class FullBacklog {
public:
    FullBacklog();
    const std::string& address() const { return address_; }

private:
    std::string address_;
    UniqueFd listener_;
    std::vector<UniqueFd> fillers_;
};

// A loopback address where nothing listens, so a connect is refused.
std::string refusingAddress();

// How many descriptors this process has open.
std::size_t openDescriptorCount();

}  // namespace setip::testing_support
