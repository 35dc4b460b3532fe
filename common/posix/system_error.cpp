#include "common/system_error.h"

#include <cstring>

namespace setip {

std::string systemErrorText(SystemError error) { return std::strerror(static_cast<int>(error)); }

std::string systemErrorReason(SystemError error) { return systemErrorText(error); }

}  // namespace setip
