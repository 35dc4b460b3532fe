#include "tools/virtual-printer/tcp_printer.h"

#include "common/posix/unique_fd.h"
#include "tools/virtual-printer/session.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

namespace setip::virtual_printer {
namespace {

using builtin::NetworkAddress;

// A host that sends nothing for this long is taken to be gone, so that it cannot keep a listener busy forever.
constexpr auto idleLimit = std::chrono::seconds{30};

std::string shown(const NetworkAddress& address) { return address.host + ":" + std::to_string(address.port); }

// A socket bound to a numeric IPv4 address and not yet listening, so connects to it are still refused; never looks
// a name up. Gives the OS's reason when it cannot.
UniqueFd bindTo(const NetworkAddress& address, std::string& reason) {
    sockaddr_in socketAddress{};
    socketAddress.sin_family = AF_INET;
    socketAddress.sin_port = htons(address.port);
    if (::inet_pton(AF_INET, address.host.c_str(), &socketAddress.sin_addr) != 1) {
        reason = "\"" + address.host + "\" is not a numeric IPv4 address";
        return {};
    }
    UniqueFd socket{::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)};
    const int on = 1;
    if (socket) ::setsockopt(socket.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (!socket || ::bind(socket.get(), reinterpret_cast<const sockaddr*>(&socketAddress), sizeof socketAddress) != 0) {
        reason = std::strerror(errno);
        return {};
    }
    return socket;
}

bool startListening(int socket, std::string& reason) {
    if (::listen(socket, 8) == 0) return true;
    reason = std::strerror(errno);
    return false;
}

std::string peerOf(const sockaddr_in& peer) {
    char host[INET_ADDRSTRLEN] = "?";
    ::inet_ntop(AF_INET, &peer.sin_addr, host, sizeof host);
    return std::string{host} + ":" + std::to_string(ntohs(peer.sin_port));
}

// The connection a listener serves, read from once the hold is over.
struct Connection {
    UniqueFd socket;
    Session session;
    Deadline readFrom;
    Deadline idleUntil;
};

struct Listener {
    NetworkAddress address;
    UniqueFd socket;                    // none once it could not listen again
    std::optional<Deadline> restartAt;  // while set, the socket is only bound: silent until then
    std::optional<Connection> serving;
};

class TcpPrinter {
public:
    TcpPrinter(const TcpPrinterOptions& options, std::ostream& report) : options_(options), report_(report) {}

    int run() {
        for (const NetworkAddress& address : options_.listen) {
            std::string reason;
            UniqueFd socket = bindTo(address, reason);
            if (!socket || !startListening(socket.get(), reason)) {
                report_ << "virtual-printer: cannot listen on " << shown(address) << ": " << reason << std::endl;
                return 1;
            }
            listeners_.push_back({address, std::move(socket), std::nullopt, std::nullopt});
            report_ << "listening on " << shown(address) << std::endl;
        }
        while (!listeners_.empty()) {
            if (!serveWhatIsReady()) return 1;
            for (Listener& listener : listeners_) keepTime(listener);
            std::erase_if(listeners_, [](const Listener& listener) { return !listener.socket; });
            report_.flush();
        }
        return 1;
    }

private:
    // Waits for the next connect, bytes or timer, and serves the sockets that are ready.
    bool serveWhatIsReady() {
        std::vector<pollfd> entries;
        std::vector<Listener*> owners;
        Deadline wake = Deadline::max();
        for (Listener& listener : listeners_) {
            if (listener.restartAt) {
                wake = std::min(wake, *listener.restartAt);
            } else if (!listener.serving) {
                entries.push_back({listener.socket.get(), POLLIN, 0});
                owners.push_back(&listener);
            } else if (Clock::now() < listener.serving->readFrom) {
                wake = std::min(wake, listener.serving->readFrom);
            } else {
                entries.push_back({listener.serving->socket.get(), POLLIN, 0});
                owners.push_back(&listener);
                wake = std::min(wake, listener.serving->idleUntil);
            }
        }
        const int ready = ::poll(entries.data(), entries.size(), wake == Deadline::max() ? -1 : millisecondsLeft(wake));
        if (ready < 0 && errno != EINTR) {
            report_ << "virtual-printer: cannot wait for connections: " << std::strerror(errno) << std::endl;
            return false;
        }
        for (std::size_t i = 0; ready > 0 && i < entries.size(); ++i) {
            if (entries[i].revents == 0) continue;
            if (owners[i]->serving) {
                read(*owners[i]);
            } else {
                accept(*owners[i]);
            }
        }
        return true;
    }

    void accept(Listener& listener) {
        sockaddr_in peer{};
        socklen_t length = sizeof peer;
        UniqueFd connection{::accept4(listener.socket.get(), reinterpret_cast<sockaddr*>(&peer), &length,
                                      SOCK_NONBLOCK | SOCK_CLOEXEC)};
        if (!connection) return;  // gone again before it was taken
        const std::string where = shown(listener.address);
        report_ << where << " connection from " << peerOf(peer) << '\n';
        const Deadline readFrom = Clock::now() + options_.hold;
        listener.serving.emplace(std::move(connection), Session{where, report_}, readFrom, readFrom + idleLimit);
    }

    void read(Listener& listener) {
        Connection& connection = *listener.serving;
        std::uint8_t buffer[4096];
        const ssize_t count = ::recv(connection.socket.get(), buffer, sizeof buffer, 0);
        if (count < 0 && (errno == EINTR || errno == EAGAIN)) return;
        if (count <= 0) {
            hangUp(listener);
            return;
        }
        const auto answer = connection.session.receive({buffer, static_cast<std::size_t>(count)});
        if (!answer.empty() && ::send(connection.socket.get(), answer.data(), answer.size(), MSG_NOSIGNAL) !=
                                   static_cast<ssize_t>(answer.size())) {
            report_ << connection.session.where() << " cannot answer: " << std::strerror(errno) << '\n';
        }
        connection.idleUntil = Clock::now() + idleLimit;
    }

    void keepTime(Listener& listener) {
        if (listener.restartAt && Clock::now() >= *listener.restartAt) {
            listener.restartAt.reset();
            std::string reason;
            if (startListening(listener.socket.get(), reason)) {
                report_ << "listening on " << shown(listener.address) << '\n';
            } else {
                report_ << "virtual-printer: cannot listen on " << shown(listener.address) << ": " << reason << '\n';
                listener.socket.reset();
            }
        } else if (listener.serving && Clock::now() >= listener.serving->idleUntil) {
            report_ << listener.serving->session.where() << " no data for " << idleLimit.count() << " s; hanging up\n";
            hangUp(listener);
        }
    }

    // Done with the connection: moves first if it carried a new address, then hangs up.
    void hangUp(Listener& listener) {
        const Connection finished = std::move(*listener.serving);
        listener.serving.reset();
        report_ << finished.session.where() << " connection closed after " << finished.session.received()
                << " bytes\n";
        if (const auto& octets = finished.session.newAddress()) move(listener, *octets);
    }

    void move(Listener& listener, const Octets& octets) {
        const NetworkAddress next{dotted(octets), listener.address.port};
        const std::string from = shown(listener.address);
        if (octets[0] != 127) {
            report_ << from << " staying: " << next.host << " is not on loopback (127.x.y.z)\n";
            return;
        }
        if (next == listener.address) {
            report_ << from << " staying: already there\n";
            return;
        }
        std::string reason;
        UniqueFd moved = bindTo(next, reason);
        if (!moved || (!options_.restartAfter && !startListening(moved.get(), reason))) {
            report_ << from << " staying: cannot listen on " << shown(next) << ": " << reason << '\n';
            return;
        }
        listener.socket = std::move(moved);  // closes the old listener: connects there are refused from now on
        listener.address = next;
        report_ << from << " moving to " << shown(next);
        if (options_.restartAfter) {
            listener.restartAt = Clock::now() + *options_.restartAfter;
            report_ << " after " << std::chrono::duration<double>{*options_.restartAfter}.count()
                    << " s, silent until then\n";
            return;
        }
        report_ << "\nlistening on " << shown(next) << '\n';
    }

    const TcpPrinterOptions& options_;
    std::ostream& report_;
    std::vector<Listener> listeners_;
};

}  // namespace

int serveTcp(const TcpPrinterOptions& options, std::ostream& report) { return TcpPrinter{options, report}.run(); }

}  // namespace setip::virtual_printer
