#include "tools/virtual-printer/tcp_printer.h"

#include "common/posix/unique_fd.h"
#include "tools/virtual-printer/command_scanner.h"
#include "tools/virtual-printer/hex_dump.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

namespace setip::virtual_printer {
namespace {

using builtin::NetworkAddress;

// A host that sends nothing for this long is taken to be gone, so that it cannot keep the printer busy forever.
constexpr int idleMilliseconds = 30'000;

std::string shown(const NetworkAddress& address) { return address.host + ":" + std::to_string(address.port); }

// Listens on a numeric IPv4 address; never looks a name up. Gives the OS's reason when it cannot.
UniqueFd listenOn(const NetworkAddress& address, std::string& reason) {
    sockaddr_in socketAddress{};
    socketAddress.sin_family = AF_INET;
    socketAddress.sin_port = htons(address.port);
    if (::inet_pton(AF_INET, address.host.c_str(), &socketAddress.sin_addr) != 1) {
        reason = "\"" + address.host + "\" is not a numeric IPv4 address";
        return {};
    }
    UniqueFd listener{::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)};
    const int on = 1;
    if (listener) ::setsockopt(listener.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (!listener || ::bind(listener.get(), reinterpret_cast<const sockaddr*>(&socketAddress), sizeof socketAddress) != 0 ||
        ::listen(listener.get(), 8) != 0) {
        reason = std::strerror(errno);
        return {};
    }
    return listener;
}

std::string peerOf(const sockaddr_in& peer) {
    char host[INET_ADDRSTRLEN] = "?";
    ::inet_ntop(AF_INET, &peer.sin_addr, host, sizeof host);
    return std::string{host} + ":" + std::to_string(ntohs(peer.sin_port));
}

// Reads one connection to its end, reporting as it goes. Gives the address of the last set-address command seen.
std::optional<Octets> serveConnection(int connection, std::ostream& report) {
    CommandScanner scanner;
    std::optional<Octets> command;
    std::size_t total = 0;
    std::uint8_t buffer[4096];
    for (;;) {
        pollfd entry{connection, POLLIN, 0};
        const int ready = ::poll(&entry, 1, idleMilliseconds);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) {
            report << "no data for " << idleMilliseconds / 1000 << " s; hanging up\n";
            break;
        }
        const ssize_t count = ::recv(connection, buffer, sizeof buffer, 0);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) break;
        const std::span<const std::uint8_t> received{buffer, static_cast<std::size_t>(count)};
        report << hexDump(received, total);
        total += received.size();
        if (const auto found = scanner.feed(received)) {
            command = found;
            report << "set-address command: new address " << dotted(*found) << '\n';
        }
        report.flush();
    }
    report << "connection closed after " << total << " bytes\n";
    return command;
}

}  // namespace

int serveTcp(const NetworkAddress& address, std::ostream& report) {
    NetworkAddress current = address;
    std::string reason;
    UniqueFd listener = listenOn(current, reason);
    if (!listener) {
        report << "virtual-printer: cannot listen on " << shown(current) << ": " << reason << std::endl;
        return 1;
    }
    report << "listening on " << shown(current) << std::endl;

    for (;;) {
        sockaddr_in peer{};
        socklen_t length = sizeof peer;
        const UniqueFd connection{::accept4(listener.get(), reinterpret_cast<sockaddr*>(&peer), &length, SOCK_CLOEXEC)};
        if (!connection) continue;
        report << "connection from " << peerOf(peer) << '\n';
        const auto command = serveConnection(connection.get(), report);
        if (!command) {
            report.flush();
            continue;
        }

        const NetworkAddress next{dotted(*command), current.port};
        if ((*command)[0] != 127) {
            report << "not moving to " << next.host << ": only loopback addresses (127.x.y.z) are taken here; still on "
                   << shown(current) << std::endl;
            continue;
        }
        if (next == current) {
            report << "already on " << shown(current) << std::endl;
            continue;
        }
        if (UniqueFd moved = listenOn(next, reason)) {
            listener = std::move(moved);
            current = next;
            report << "now listening on " << shown(current) << std::endl;
        } else {
            report << "cannot move to " << shown(next) << ": " << reason << "; still on " << shown(current) << std::endl;
        }
    }
}

}  // namespace setip::virtual_printer
