#pragma once

#include "printer/builtin/socket.h"

#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace setip::testing_support {

using Bytes = std::vector<std::uint8_t>;

// A printer on a Winsock listener on a loopback host (127.0.0.1 unless given), on a port the system picks unless
// given, over the port's own socket calls.
class WinsockListener {
public:
    explicit WinsockListener(int backlog = 16, const std::string& host = "127.0.0.1", std::uint16_t port = 0)
        : host_(host) {
        address_.sin_family = AF_INET;
        address_.sin_port = ::htons(port);
        int length = sizeof address_;
        if (!socket_ || ::inet_pton(AF_INET, host.c_str(), &address_.sin_addr) != 1 ||
            ::bind(socket_.get(), reinterpret_cast<sockaddr*>(&address_), length) != 0 ||
            ::listen(socket_.get(), backlog) != 0 ||
            ::getsockname(socket_.get(), reinterpret_cast<sockaddr*>(&address_), &length) != 0) {
            throw std::runtime_error("cannot listen on " + host + ": error " + std::to_string(::WSAGetLastError()));
        }
    }
    std::uint16_t port() const { return ::ntohs(address_.sin_port); }
    std::string address() const { return host_ + ":" + std::to_string(port()); }

    // The connection a press has made and ended, read to its end within 5 s; nothing when none came.
    Bytes receive() const {
        const Deadline deadline = deadlineAfter(std::chrono::seconds{5});
        const UniqueSocket connection{::accept(socket_.get(), nullptr, nullptr)};
        Bytes received;
        char buffer[4096];
        for (int count = 0; connection && builtin::waitFor(connection, false, deadline) == builtin::Readiness::ready &&
                            (count = ::recv(connection.get(), buffer, sizeof buffer, 0)) > 0;) {
            received.insert(received.end(), buffer, buffer + count);
        }
        return received;
    }

    // Connects to itself until the backlog is full, so that a further connect hangs as it does to a printer that
    // is switched off; the first connect that stays pending shows it is. For a listener with a backlog of 0.
    void fillBacklog() {
        for (int attempt = 0; attempt < 16; ++attempt) {
            fillers_.push_back(stream());
            builtin::startConnecting(fillers_.back(), reinterpret_cast<const sockaddr*>(&address_), sizeof address_,
                                     address());
            const Deadline soon = deadlineAfter(std::chrono::milliseconds{200});
            if (builtin::waitFor(fillers_.back(), true, soon) != builtin::Readiness::ready) return;
        }
        throw std::runtime_error("the listen backlog never filled");
    }

private:
    UniqueSocket stream() {
        builtin::startSockets();
        return builtin::openStreamSocket(AF_INET, "the test's printer");
    }

    std::string host_;
    UniqueSocket socket_ = stream();
    sockaddr_in address_{};
    std::vector<UniqueSocket> fillers_;
};

}  // namespace setip::testing_support
