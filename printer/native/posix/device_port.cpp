#include "common/deadline.h"
#include "printer/native/deadlines.h"
#include "printer/native/ports.h"
#include "printer/native/posix/device_file.h"

#include <fcntl.h>

#include <utility>

namespace setip::native {
namespace {

// A parallel or USB printer device. Opened non-blocking, because an offline printer holds a plain write forever.
class DevicePort final : public Port {
public:
    DevicePort(UniqueFd fd, std::string path) : fd_(std::move(fd)), path_(std::move(path)) {}

    void write(std::span<const std::uint8_t> bytes) override {
        writeAllBefore(fd_.get(), bytes, deadlineAfter(writeBudget), path_);
    }

    void close() override { fd_.reset(); }

private:
    UniqueFd fd_;
    std::string path_;
};

}  // namespace

std::unique_ptr<Port> openDevicePort(std::string_view name) {
    const std::string path = devicePathOf(name, "LPT", "/dev/lp");
    return std::make_unique<DevicePort>(openDeviceFile(path, O_WRONLY), path);
}

}  // namespace setip::native
