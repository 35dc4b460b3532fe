#include "common/deadline.h"
#include "printer/native/deadlines.h"
#include "printer/native/ports.h"
#include "printer/native/win32/device_file.h"

#include <utility>

namespace setip::native {
namespace {

// A parallel printer port. Writes are overlapped, because an offline printer holds a plain write forever.
class DevicePort final : public Port {
public:
    DevicePort(UniqueHandle device, std::string path) : device_(std::move(device)), path_(std::move(path)) {}

    void write(std::span<const std::uint8_t> bytes) override {
        writeAllBefore(device_.get(), bytes, deadlineAfter(writeBudget), path_);
    }

    void close() override { device_.reset(); }

private:
    UniqueHandle device_;
    std::string path_;
};

}  // namespace

std::unique_ptr<Port> openDevicePort(std::string_view name) {
    const std::string path = devicePathOf(name, "LPT");
    return std::make_unique<DevicePort>(openDeviceFile(path, false), path);
}

}  // namespace setip::native
