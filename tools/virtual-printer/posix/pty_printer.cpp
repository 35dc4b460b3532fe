#include "tools/virtual-printer/pty_printer.h"

#include "common/posix/unique_fd.h"
#include "tools/virtual-printer/command_scanner.h"
#include "tools/virtual-printer/hex_dump.h"

#include <pty.h>
#include <termios.h>

#include <cerrno>
#include <cstring>

namespace setip::virtual_printer {

int servePty(std::ostream& report) {
    int printerSide = -1;
    int hostSide = -1;
    char path[256] = {};
    if (::openpty(&printerSide, &hostSide, path, nullptr, nullptr) != 0) {
        report << "virtual-printer: cannot make a pseudo-terminal: " << std::strerror(errno) << std::endl;
        return 1;
    }
    const UniqueFd printer{printerSide};
    // Held open for the life of the printer, so that the line survives each time setip opens and closes it.
    const UniqueFd host{hostSide};
    termios raw{};
    ::tcgetattr(host.get(), &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(host.get(), TCSANOW, &raw);

    report << "serial line at " << path << " (open it in setip as COM:" << path << ")" << std::endl;
    CommandScanner scanner;
    std::size_t total = 0;
    std::uint8_t buffer[4096];
    for (;;) {
        const ssize_t count = ::read(printer.get(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) {
            report << "virtual-printer: the line was lost: " << std::strerror(errno) << std::endl;
            return 1;
        }
        const std::span<const std::uint8_t> received{buffer, static_cast<std::size_t>(count)};
        report << hexDump(received, total);
        total += received.size();
        if (const auto found = scanner.feed(received)) {
            report << "set-address command: new address " << dotted(*found) << '\n';
        }
        report.flush();
    }
}

}  // namespace setip::virtual_printer
