#pragma once

#include "common/posix/unique_fd.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace setip::builtin {

using Socket = UniqueFd;
using SocketLength = socklen_t;

}  // namespace setip::builtin
