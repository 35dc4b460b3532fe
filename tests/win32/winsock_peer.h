#pragma once

#include "printer/builtin/socket.h"

#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace setip::testing_support {

using Bytes = std::vector<std::uint8_t>;

// A printer on a Winsock listener on 127.0.0.1, on a port the system picks, over the port's own socket calls.
class WinsockListener {
public:
    WinsockListener() {
        address_.sin_family = AF_INET;
        int length = sizeof address_;
        if (::inet_pton(AF_INET, "127.0.0.1", &address_.sin_addr) != 1 ||
            ::bind(socket_.get(), reinterpret_cast<sockaddr*>(&address_), length) != 0 ||
            ::listen(socket_.get(), 16) != 0 ||
            ::getsockname(socket_.get(), reinterpret_cast<sockaddr*>(&address_), &length) != 0) {
            throw std::runtime_error("cannot listen: error " + std::to_string(::WSAGetLastError()));
        }
    }
    std::string address() const { return "127.0.0.1:" + std::to_string(::ntohs(address_.sin_port)); }

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

private:
    static UniqueSocket stream() {
        builtin::startSockets();
        return builtin::openStreamSocket(AF_INET, "the test's printer");
    }

    UniqueSocket socket_ = stream();
    sockaddr_in address_{};
};

}  // namespace setip::testing_support
