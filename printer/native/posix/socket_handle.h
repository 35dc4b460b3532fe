#pragma once

#include "common/posix/unique_fd.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace setip::native {

using Socket = UniqueFd;
using SocketLength = socklen_t;

}  // namespace setip::native
