#pragma once

#include "printer/native/port.h"

#include <string>
#include <string_view>

namespace setip::native {

// "cannot <action> <name>: <the system's text for error> (error <n>)", captured at the call that failed. `error`
// is GetLastError()'s or WSAGetLastError()'s value; both share the system's message table.
PortFailure systemFailure(std::string_view action, std::string_view name, unsigned long error);

// The system's text for an error, in UTF-8, without the full stop and line break it ends with.
std::string systemErrorText(unsigned long error);

}  // namespace setip::native
