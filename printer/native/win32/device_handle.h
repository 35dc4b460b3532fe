#pragma once

#include "common/win32/unique_handle.h"

namespace setip::native {

using DeviceFile = UniqueHandle;

}  // namespace setip::native
