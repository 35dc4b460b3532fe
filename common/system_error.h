#pragma once

#include <string>

namespace setip {

// An error number as the OS gives it at the call that failed: errno, or GetLastError() / WSAGetLastError(), which
// share the system's message table.
using SystemError = unsigned long;

// The error of the OS call that just failed on this thread: errno, or GetLastError().
SystemError lastSystemError();

// The OS's own text for an error, in UTF-8, without the full stop and line break it may end with.
std::string systemErrorText(SystemError error);

// The error as the operator is told it: the text, and on Windows also its number, which is what a search finds.
std::string systemErrorReason(SystemError error);

}  // namespace setip
