#pragma once

#include "printer/builtin/socket.h"

#include <cstdint>
#include <string>
#include <vector>

namespace setip::testing_support {

// Listeners at one port on each of a set of loopback hosts that never accept. With their backlogs full, a further
// connect to any of them hangs, as it does to a printer that is switched off; the backlogs fill together, in rounds,
// so that a few hundred take about as long as one. With room left, a connect completes and what is sent lies unread,
// as with a printer that takes a connection and never hangs up. Over the network port's own socket calls, so the
// Linux and the Windows suites share it.
class SilentListeners {
public:
    enum class Backlog { full, room };
    // On `port` at each host, or on a port free at the first when 0.
    explicit SilentListeners(Backlog backlog = Backlog::full, const std::vector<std::string>& hosts = {"127.0.0.1"},
                             std::uint16_t port = 0);
    std::uint16_t port() const { return port_; }
    // The first host's "host:port".
    std::string address() const { return firstHost_ + ":" + std::to_string(port_); }

private:
    std::string firstHost_;
    std::uint16_t port_;
    std::vector<builtin::Socket> listeners_;
    std::vector<builtin::Socket> fillers_;
};

}  // namespace setip::testing_support
