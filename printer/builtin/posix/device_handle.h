#pragma once

#include "common/posix/unique_fd.h"

namespace setip::builtin {

using DeviceFile = UniqueFd;

}  // namespace setip::builtin
