#pragma once

#include "common/posix/unique_fd.h"
#include "printer/builtin/builtin_library.h"
#include "printer/press.h"
#include "tests/support/child_process.h"

#include <netinet/in.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace setip::testing_support {

using Bytes = std::vector<std::uint8_t>;

// What one finished connection to the virtual printer carried, as it reports it.
struct Connection {
    std::vector<Bytes> commands;  // each command it recognised, whole, in order
    Bytes answered;               // what it sent back
    std::size_t length = 0;       // all the bytes the connection carried

    friend bool operator==(const Connection&, const Connection&) = default;
    friend void PrintTo(const Connection& connection, std::ostream* out);
};

// A connection that carried `command` and nothing else.
Connection carrying(const Bytes& command);

// The virtual printer, listening on loopback addresses with free ports. Each listener serves one connection at a
// time; this reads back the printer's lines for programs, never its hex dump.
class LoopbackPrinter {
public:
    struct Options {
        std::vector<std::string> hosts{"127.0.0.1"};             // a listener on each, on a free port
        std::uint16_t port = 0;                                   // unless given: then each listens on this one
        std::chrono::milliseconds hold{0};                        // wait after accepting before reading anything
        std::optional<std::chrono::milliseconds> restartAfter{};  // silent this long after a set-address command
    };
    explicit LoopbackPrinter(const std::string& host = "127.0.0.1");
    explicit LoopbackPrinter(const Options& options);

    // The first listener's "host:port", as it started.
    const std::string& address() const { return addresses_.front(); }
    const std::vector<std::string>& addresses() const { return addresses_; }
    // Each finished connection at `listener` (address() unless given), once `count` have finished or the wait ran
    // out.
    std::vector<Connection> connections(std::size_t count, std::chrono::milliseconds wait = std::chrono::seconds{5},
                                        const std::string& listener = {});
    // Whether the printer printed `line` whole before the wait ran out.
    bool reported(const std::string& line, std::chrono::milliseconds wait = std::chrono::seconds{5});
    std::string output() const { return process_.output(); }

private:
    std::vector<std::string> addresses_;
    ChildProcess process_;
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
