#pragma once

#include "common/deadline.h"
#include "common/system_error.h"

#include "socket_handle.h"  // Socket and SocketLength, from the system's folder

#include <cstdint>
#include <span>
#include <string>

namespace setip::builtin {

// The socket calls of the network port, one file for each system. The address calls (inet_pton, sockaddr_in) are the
// ones both systems share, so the port builds addresses itself. A call that fails throws PrinterFailure naming what
// was tried on `name` and the system's reason.

enum class Readiness { ready, failed, timedOut };

// Makes the system's sockets ready for use, once.
void startSockets();
// A non-blocking stream socket that no child process inherits.
Socket openStreamSocket(int family, const std::string& name);
// Starts connecting without waiting: true when already connected, false while the connect is under way.
bool startConnecting(const Socket& socket, const sockaddr* address, SocketLength length, const std::string& name);
// Waits until the socket can be written (or read) before the deadline.
Readiness waitFor(const Socket& socket, bool forWriting, Deadline deadline);
// What a connect that finished waiting ended with: 0 once connected.
SystemError pendingError(const Socket& socket);
// Sends what the system takes at once: the count, or 0 when it would block.
std::size_t sendSome(const Socket& socket, std::span<const std::uint8_t> bytes, const std::string& name);
void shutdownSending(const Socket& socket);
// Reads what came and drops it. False at the end of the stream or on an error.
bool receiveAndDrop(const Socket& socket);

}  // namespace setip::builtin
