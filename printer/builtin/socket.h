#pragma once

#include "common/deadline.h"
#include "common/system_error.h"

#include "socket_handle.h"  // Socket and SocketLength, from the system's folder

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace setip::builtin {

// Stream sockets for the network port and the probes. A call that fails throws PrinterFailure naming what was tried
// on `name` and the system's reason.

// A socket address built from a numeric host; there is never a lookup here. The address calls (inet_pton,
// sockaddr_in) are the ones both systems share, so this part is portable, in socket.cpp.
struct SocketAddress {
    sockaddr_storage storage{};
    SocketLength length = 0;

    int family() const { return storage.ss_family; }
    const sockaddr* get() const { return reinterpret_cast<const sockaddr*>(&storage); }
};

enum class Readiness { ready, failed, timedOut };

// One socket of a wait on many, and after the wait what became of it: a connect that failed may show as ready (and
// pendingError then tells) or as failed, as the system shows it.
struct SocketWait {
    const Socket* socket = nullptr;
    bool forWriting = false;
    Readiness readiness = Readiness::timedOut;
};

// The address of a numeric IPv4 or IPv6 host, or nothing when the host is not numeric.
std::optional<SocketAddress> numericAddress(const std::string& host, std::uint16_t port);

// A connected socket, or PrinterFailure: refused, unreachable, or no answer before the deadline.
Socket connectTo(const SocketAddress& address, const std::string& name, Deadline deadline);

// Waits until the socket can be written (or read) before the deadline.
Readiness waitFor(const Socket& socket, bool forWriting, Deadline deadline);
// Reads what came and drops it. False at the end of the stream or on an error.
bool receiveAndDrop(const Socket& socket);

// The socket calls, one file for each system.

// Makes the system's sockets ready for use, once.
void startSockets();
// A non-blocking stream socket that no child process inherits.
Socket openStreamSocket(int family, const std::string& name);
// Starts connecting without waiting: true when already connected, false while the connect is under way.
bool startConnecting(const Socket& socket, const sockaddr* address, SocketLength length, const std::string& name);
// Waits until one or more of the sockets can be written (or read) or has failed, or the deadline passes, and marks
// each. A wait that fails marks every socket failed. It takes at most mostSocketsInOneWait() sockets.
void waitForAny(std::span<SocketWait> sockets, Deadline deadline);
std::size_t mostSocketsInOneWait();
// What a connect that finished waiting ended with: 0 once connected.
SystemError pendingError(const Socket& socket);
// Sends what the system takes at once: the count, or 0 when it would block.
std::size_t sendSome(const Socket& socket, std::span<const std::uint8_t> bytes, const std::string& name);
void shutdownSending(const Socket& socket);
// Reads what has come, up to the room given: the count, 0 at the end of the stream or on an error, nothing when
// nothing has come yet.
std::optional<std::size_t> receiveSome(const Socket& socket, std::span<std::uint8_t> room);

}  // namespace setip::builtin
