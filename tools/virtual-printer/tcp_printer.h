#pragma once

#include "printer/builtin/network_address.h"

#include <ostream>

namespace setip::virtual_printer {

// A receipt printer on a loopback TCP address. It serves one connection at a time, reports each one's bytes in
// hex, and after a set-address command moves to the new address when that is on loopback. Runs until the process
// ends; gives an exit status only when it cannot listen at all.
int serveTcp(const builtin::NetworkAddress& address, std::ostream& report);

}  // namespace setip::virtual_printer
