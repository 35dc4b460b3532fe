#pragma once

#include "common/posix/unique_fd.h"

#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace setip::testing_support {

// What arrives on `fd`, once `count` bytes came or nothing more came for a second.
inline std::vector<std::uint8_t> readArrived(int fd, std::size_t count) {
    std::vector<std::uint8_t> got(count);
    std::size_t size = 0;
    for (pollfd entry{fd, POLLIN, 0}; size < count && ::poll(&entry, 1, 1000) > 0;) {
        const ssize_t n = ::read(fd, got.data() + size, count - size);
        if (n <= 0) break;
        size += static_cast<std::size_t>(n);
    }
    got.resize(size);
    return got;
}

// A pseudo-terminal pair standing in for a serial line: the library opens `path`, the test plays the printer on
// `far`. The test keeps the near side open too, so what was sent stays readable after the library closes.
struct PseudoTerminal {
    UniqueFd far;
    UniqueFd near;
    std::string path;

    PseudoTerminal() {
        int farFd = -1;
        int nearFd = -1;
        char name[256] = {};
        if (::openpty(&farFd, &nearFd, name, nullptr, nullptr) != 0) {
            throw std::runtime_error("openpty gives no pseudo-terminal: the serial tests need /dev/ptmx and /dev/pts");
        }
        far.reset(farFd);
        near.reset(nearFd);
        path = name;
    }
};

}  // namespace setip::testing_support
