#include "tools/virtual-printer/pty_printer.h"

#include "common/posix/unique_fd.h"
#include "tools/virtual-printer/session.h"

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
    Session session{path, report};
    std::uint8_t buffer[4096];
    for (;;) {
        const ssize_t count = ::read(printer.get(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) {
            report << "virtual-printer: the line was lost: " << std::strerror(errno) << std::endl;
            return 1;
        }
        const auto answer = session.receive({buffer, static_cast<std::size_t>(count)});
        if (!answer.empty() &&
            ::write(printer.get(), answer.data(), answer.size()) != static_cast<ssize_t>(answer.size())) {
            report << path << " cannot answer: " << std::strerror(errno) << '\n';
        }
        report.flush();
    }
}

}  // namespace setip::virtual_printer
