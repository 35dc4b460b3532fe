#include "printer/builtin/device_port.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pthread.h>
#include <sys/stat.h>

#include <csignal>
#include <ctime>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

namespace setip::builtin {
namespace {

std::string groupHint(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return {};
    const group* owner = ::getgrgid(status.st_gid);
    if (owner == nullptr) return {};
    return std::string{" (it belongs to group "} + owner->gr_name + ": add the user to that group and log in again)";
}

// A write to a FIFO or device whose reader has gone raises SIGPIPE, which ends the program. While this lives the
// signal is held back on this thread, and one the write raised is taken away, so the write fails with EPIPE and is
// told like any other failure. A SIGPIPE that was already pending is left as it was.
class PipeSignalHeld {
public:
    PipeSignalHeld() {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        sigset_t pending;
        alreadyPending_ = ::sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
        ::pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
    }
    ~PipeSignalHeld() {
        const timespec noWait{};
        if (!alreadyPending_) {
            while (::sigtimedwait(&pipe_, nullptr, &noWait) == SIGPIPE) {
            }
        }
        ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    PipeSignalHeld(const PipeSignalHeld&) = delete;
    PipeSignalHeld& operator=(const PipeSignalHeld&) = delete;

private:
    sigset_t pipe_{};
    sigset_t previous_{};
    bool alreadyPending_ = false;
};

}  // namespace

// COMn is /dev/ttyS(n-1), LPTn is /dev/lp(n-1).
std::string numberedDevicePath(std::string_view prefix, unsigned number) {
    return (prefix == "COM" ? "/dev/ttyS" : "/dev/lp") + std::to_string(number - 1);
}

DeviceFile openDeviceFile(const std::string& path, DeviceAccess access) {
    const int flags = access == DeviceAccess::readWrite ? O_RDWR : O_WRONLY;
    DeviceFile fd{::open(path.c_str(), flags | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)};
    if (fd) {
        // The type of what was opened, not of the path, which could have been swapped since.
        struct stat status {};
        if (::fstat(fd.get(), &status) != 0) throw systemFailure("open", path, lastSystemError());
        if (!S_ISCHR(status.st_mode) && !S_ISFIFO(status.st_mode)) throw notAPrinterDevice(path);
        return fd;
    }
    const int error = errno;
    const PrinterFailure failure = systemFailure("open", path, static_cast<SystemError>(error));
    if (error == EACCES || error == EPERM) throw PrinterFailure(failure.what() + groupHint(path));
    throw failure;
}

void writeAllBefore(const DeviceFile& file, std::span<const std::uint8_t> bytes, Deadline deadline,
                    const std::string& path) {
    const PipeSignalHeld held;
    bool refusedBefore = false;
    while (!bytes.empty()) {
        const ssize_t written = ::write(file.get(), bytes.data(), bytes.size());
        if (written > 0) {
            bytes = bytes.subspan(static_cast<std::size_t>(written));
            refusedBefore = false;
            continue;
        }
        if (written < 0 && errno == EINTR) continue;
        if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK) throw systemFailure("write to", path, lastSystemError());
        if (millisecondsLeft(deadline) == 0) throw deviceTookNothing(path);
        // Some printer drivers say "ready" from poll yet refuse the write; don't spin on them.
        if (refusedBefore) std::this_thread::sleep_for(std::chrono::milliseconds{std::min(5, millisecondsLeft(deadline))});
        pollfd entry{file.get(), POLLOUT, 0};
        if (::poll(&entry, 1, millisecondsLeft(deadline)) < 0 && errno != EINTR) {
            throw systemFailure("wait to write to", path, lastSystemError());
        }
        refusedBefore = true;
    }
}

}  // namespace setip::builtin
