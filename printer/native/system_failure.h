#pragma once

#include "common/system_error.h"
#include "printer/native/port.h"

#include <string_view>

namespace setip::native {

// "cannot <action> <name>: <the OS's reason>", captured at the call that failed.
PortFailure systemFailure(std::string_view action, std::string_view name, SystemError error);

}  // namespace setip::native
