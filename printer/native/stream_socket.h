#pragma once

#include "common/deadline.h"
#include "common/system_error.h"

#include "socket_handle.h"  // Socket and SocketLength, from the system's folder

#include <cstdint>
#include <span>

namespace setip::native {

// The socket calls of the network port, one file for each system. The address calls (inet_pton, sockaddr_in) are
// the ones both systems share, so the port builds addresses itself.

enum class Readiness { ready, failed, timedOut };
enum class ConnectStart { connected, underWay, failed };

// Makes the system's sockets ready for use, once; throws PortFailure when it cannot.
void startSockets();
// A non-blocking stream socket that no child process inherits; none, with `error` set, when there is none.
Socket openStreamSocket(int family, SystemError& error);
// Starts connecting without waiting for it; on `failed`, `error` says why.
ConnectStart startConnecting(const Socket& socket, const sockaddr* address, SocketLength length, SystemError& error);
// Waits until the socket can be written (or read) before the deadline.
Readiness waitFor(const Socket& socket, bool forWriting, Deadline deadline);
// What a connect that finished waiting ended with: 0 once connected.
SystemError pendingError(const Socket& socket);
// Sends what the system takes at once: the count, 0 when it would block, or -1 with `error` set.
long sendSome(const Socket& socket, std::span<const std::uint8_t> bytes, SystemError& error);
void shutdownSending(const Socket& socket);
// Reads what came and drops it. False at the end of the stream or on an error.
bool receiveAndDrop(const Socket& socket);

}  // namespace setip::native
