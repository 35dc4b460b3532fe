#pragma once

#include "common/win32/winsock.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace setip::testing_support {

using Bytes = std::vector<std::uint8_t>;

// A printer on a Winsock listener on 127.0.0.1, on a port the system picks unless one is given.
class WinsockListener {
public:
    explicit WinsockListener(int backlog = 16, std::uint16_t port = 0);
    std::string address() const;
    // Accepts one connection within `wait` and reads it to its end. Throws when no connection came.
    Bytes receive(std::chrono::milliseconds wait = std::chrono::seconds{5}) const;
    // Connects to itself until the backlog is full, so that a further connect hangs as it does to a printer that
    // is switched off. For a listener made with a backlog of 0 that never receives.
    void fillBacklog();

private:
    UniqueSocket socket_;
    sockaddr_in address_{};
    std::vector<UniqueSocket> fillers_;
};

}  // namespace setip::testing_support
