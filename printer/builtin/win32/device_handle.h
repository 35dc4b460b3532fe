#pragma once

#include "common/win32/unique_handle.h"

namespace setip::builtin {

using DeviceFile = UniqueHandle;

}  // namespace setip::builtin
