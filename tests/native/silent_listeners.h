#pragma once

#include "printer/builtin/socket.h"

#include <cstdint>
#include <string>
#include <vector>

namespace setip::testing_support {

// Listeners at one port on each of a set of loopback hosts that never accept and whose backlogs are full, so that a
// further connect to any of them hangs as it does to a printer that is switched off. Their backlogs fill together, in
// rounds, so that a few hundred take about as long as one. Over the network port's own socket calls, so the Linux and
// the Windows suites share it.
class SilentListeners {
public:
    // On `port` at each host, or on a port free at the first when 0.
    explicit SilentListeners(const std::vector<std::string>& hosts, std::uint16_t port = 0);
    std::uint16_t port() const { return port_; }

private:
    std::uint16_t port_;
    std::vector<builtin::Socket> listeners_;
    std::vector<builtin::Socket> fillers_;
};

}  // namespace setip::testing_support
