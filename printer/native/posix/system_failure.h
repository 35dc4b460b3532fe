#pragma once

#include "printer/native/port.h"

#include <string_view>

namespace setip::native {

// "cannot <action> <name>: <the OS's text for error>", captured at the call that failed.
PortFailure systemFailure(std::string_view action, std::string_view name, int error);

}  // namespace setip::native
