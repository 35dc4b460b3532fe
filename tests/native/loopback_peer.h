#pragma once

#include "common/posix/unique_fd.h"
#include "printer/builtin/builtin_library.h"
#include "printer/press.h"
#include "tests/support/child_process.h"

#include <netinet/in.h>

#include <chrono>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace setip::testing_support {

using Bytes = std::vector<std::uint8_t>;

// The virtual printer, on a loopback address and a free port. It serves one connection at a time and reports the
// bytes of each one, which this reads back.
class LoopbackPrinter {
public:
    explicit LoopbackPrinter(const std::string& host = "127.0.0.1");

    const std::string& address() const { return address_; }
    // The bytes of each finished connection, once `count` have finished or the wait ran out.
    std::vector<Bytes> connections(std::size_t count, std::chrono::milliseconds wait = std::chrono::seconds{5});

private:
    std::string address_;
    ChildProcess process_;
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

// Presses "Set IP" with the built-in library. A bare present address presses the network kind with it; the new
// address only travels inside the command, and the virtual printer moves to none off loopback.
struct Press {
    builtin::BuiltinLibrary library;

    explicit Press(std::shared_ptr<const builtin::NameResolver> resolver = builtin::systemResolver())
        : library(std::move(resolver)) {}
    PressOutcome operator()(const PressRequest& request) { return pressSetIp(request, library); }
    PressOutcome operator()(const std::string& present, const Text& next = u"192.168.123.100") {
        return (*this)({u"ETHERNET", fromUtf8(present), u"", u"19200", next});
    }
    std::int32_t open(const std::string& name) { return library.open(PortKind::network, fromUtf8(name), {}); }
};

// The socket address of a numeric "host:port".
sockaddr_in socketAddress(const std::string& address);

// An address on `host` where nothing listens, so a connect is refused.
std::string refusingAddress(const std::string& host = "127.0.0.1");

// How many descriptors this process has open.
std::size_t openDescriptorCount();

}  // namespace setip::testing_support
