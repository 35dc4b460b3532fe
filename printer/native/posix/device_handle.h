#pragma once

#include "common/posix/unique_fd.h"

namespace setip::native {

using DeviceFile = UniqueFd;

}  // namespace setip::native
