#pragma once

#include "common/deadline.h"
#include "printer/native/port.h"

#include <cstdint>
#include <memory>
#include <string>

namespace setip::native {

// True for a numeric IPv4 or IPv6 address, which is connected to as it is and never looked up.
bool isNumericHost(const std::string& host);

// Connects to a numeric address and port before the deadline; `shown` names the printer in failures.
std::unique_ptr<Port> connectNetworkPort(const std::string& numericHost, std::uint16_t port, const std::string& shown,
                                         Deadline deadline);

}  // namespace setip::native
