#include "common/system_error.h"

#include <cerrno>
#include <cstring>

namespace setip {

SystemError lastSystemError() { return static_cast<SystemError>(errno); }

std::string systemErrorText(SystemError error) { return std::strerror(static_cast<int>(error)); }

std::string systemErrorReason(SystemError error) { return systemErrorText(error); }

}  // namespace setip
