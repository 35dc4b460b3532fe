#pragma once

#include "common/deadline.h"
#include "printer/builtin/network_address.h"
#include "printer/builtin/port.h"
#include "printer/builtin/resolver.h"

#include <memory>
#include <string_view>

namespace setip::builtin {

// A printer at its present network address, over TCP: `name` is the address as network_address.h reads it, and a
// host name is looked up with `resolver`. The whole open, lookup included, is bounded by the connect deadline. Its
// close shuts down the sending side and waits, up to the close deadline, for the printer to hang up, so that an
// early close never cuts the command short.
std::unique_ptr<Port> openNetworkPort(std::string_view name, const NameResolver& resolver);

// Whether a printer takes a TCP connection at the address before the deadline. It is sent nothing and the connection
// is dropped at once, since some printers take one client at a time.
bool acceptsConnection(const NetworkAddress& address, const NameResolver& resolver, Deadline deadline);

}  // namespace setip::builtin
