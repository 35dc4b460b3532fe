#include "printer/native/posix/device_file.h"

#include "printer/native/deadlines.h"
#include "printer/native/device_name.h"
#include "printer/native/posix/system_failure.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

namespace setip::native {
namespace {

std::string groupHint(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return {};
    const group* owner = ::getgrgid(status.st_gid);
    if (owner == nullptr) return {};
    return std::string{" (it belongs to group "} + owner->gr_name + ": add the user to that group and log in again)";
}

}  // namespace

std::string devicePathOf(std::string_view name, std::string_view prefix, std::string_view numberedStem) {
    const auto parsed = parseDeviceName(name, prefix);
    if (!parsed) {
        throw PortFailure("\"" + std::string{name} + "\" names no port: write " + std::string{prefix} + "n or " +
                          std::string{prefix} + ": followed by a device path");
    }
    if (!parsed->number) return parsed->path;
    return std::string{numberedStem} + std::to_string(*parsed->number - 1);
}

UniqueFd openDeviceFile(const std::string& path, int flags) {
    UniqueFd fd{::open(path.c_str(), flags | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)};
    if (fd) return fd;
    const int error = errno;
    const PortFailure failure = systemFailure("open", path, error);
    if (error == EACCES || error == EPERM) throw PortFailure(failure.what() + groupHint(path));
    throw failure;
}

void writeAllBefore(int fd, std::span<const std::uint8_t> bytes, Deadline deadline, const std::string& path) {
    bool refusedBefore = false;
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written > 0) {
            bytes = bytes.subspan(static_cast<std::size_t>(written));
            refusedBefore = false;
            continue;
        }
        if (written < 0 && errno == EINTR) continue;
        if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK) throw systemFailure("write to", path, errno);
        if (millisecondsLeft(deadline) == 0) {
            throw PortFailure("cannot write to " + path + ": the device took nothing for " +
                              std::to_string(writeBudget.count()) + " s (is the printer offline?)");
        }
        // Some printer drivers say "ready" from poll yet refuse the write; don't spin on them.
        if (refusedBefore) std::this_thread::sleep_for(std::chrono::milliseconds{std::min(5, millisecondsLeft(deadline))});
        pollfd entry{fd, POLLOUT, 0};
        if (::poll(&entry, 1, millisecondsLeft(deadline)) < 0 && errno != EINTR) {
            throw systemFailure("wait to write to", path, errno);
        }
        refusedBefore = true;
    }
}

}  // namespace setip::native
