#include "tests/ports/pseudo_terminal.h"

#include "common/text.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace setip::testing_support {

PseudoTerminal::PseudoTerminal() {
    int farFd = -1;
    int nearFd = -1;
    char name[256] = {};
    if (::openpty(&farFd, &nearFd, name, nullptr, nullptr) != 0) {
        throw std::runtime_error(std::string{"this machine gives no pseudo-terminal (openpty: "} +
                                 std::strerror(errno) + "); serial tests need /dev/ptmx and /dev/pts");
    }
    far.reset(farFd);
    near.reset(nearFd);
    path = name;
    ::fcntl(far.get(), F_SETFL, ::fcntl(far.get(), F_GETFL) | O_NONBLOCK);
}

std::u16string PseudoTerminal::entry() const { return u"COM:" + fromUtf8(path); }

std::vector<std::uint8_t> PseudoTerminal::read(std::size_t count, std::chrono::milliseconds wait) const {
    std::vector<std::uint8_t> got;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (got.size() < count) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd entry{far.get(), POLLIN, 0};
        if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) <= 0) break;
        std::uint8_t buffer[256];
        const ssize_t n = ::read(far.get(), buffer, sizeof buffer);
        if (n <= 0) {
            if (n < 0 && errno == EAGAIN) continue;
            break;
        }
        got.insert(got.end(), buffer, buffer + n);
    }
    return got;
}

}  // namespace setip::testing_support
