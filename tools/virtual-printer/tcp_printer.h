#pragma once

#include "common/deadline.h"
#include "printer/builtin/network_address.h"

#include <chrono>
#include <optional>
#include <ostream>
#include <vector>

namespace setip::virtual_printer {

struct TcpPrinterOptions {
    std::vector<builtin::NetworkAddress> listen;  // one listener on each, served side by side
    Clock::duration hold{};                      // how long to wait after accepting before reading anything
    std::optional<Clock::duration> restartAfter; // how long to stay silent before listening at a new address
};

// A receipt printer on loopback TCP addresses. Each listener serves one connection at a time: it reports the
// connection's bytes in hex and its commands, answers a status request at once, and reads to the end of the
// stream before it hangs up. After a set-address command for a loopback address it moves there (after the restart
// delay, if any, silent meanwhile) before it hangs up, so a host that sees the hang-up finds it moved. Runs until
// the process ends; gives an exit status only when it cannot listen at all.
//   listening on 127.0.0.2:9100
//   127.0.0.2:9100 connection from 127.0.0.1:51834
//   (the session's lines: the bytes, each command and answer; see session.h)
//   127.0.0.2:9100 connection closed after 11 bytes
//   127.0.0.2:9100 moving to 127.0.0.7:9100
//   listening on 127.0.0.7:9100
int serveTcp(const TcpPrinterOptions& options, std::ostream& report);

}  // namespace setip::virtual_printer
