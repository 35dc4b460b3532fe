#pragma once

#include "common/win32/winsock.h"

namespace setip::native {

using Socket = UniqueSocket;
using SocketLength = int;

}  // namespace setip::native
