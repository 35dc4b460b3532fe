#pragma once

#include "common/win32/winsock.h"

namespace setip::builtin {

using Socket = UniqueSocket;
using SocketLength = int;

}  // namespace setip::builtin
