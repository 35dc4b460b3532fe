#include "common/text.h"
#include "printer/native/deadlines.h"
#include "printer/native/device.h"
#include "printer/native/device_port.h"
#include "printer/native/device_name.h"
#include "printer/native/ports.h"

#include <utility>

namespace setip::native {
DevicePort::DevicePort(DeviceFile file, std::string path) : file_(std::move(file)), path_(std::move(path)) {}

void DevicePort::write(std::span<const std::uint8_t> bytes) {
    writeAllBefore(file_, bytes, deadlineAfter(writeBudget), path_);
}

void DevicePort::close() { file_.reset(); }

std::string devicePathOf(std::string_view name, std::string_view prefix) {
    const auto parsed = parseDeviceName(name, prefix);
    if (!parsed) {
        throw PortFailure(quoted(name) + " names no port: write " + std::string{prefix} + "n or " +
                          std::string{prefix} + ": followed by a device path");
    }
    if (!parsed->number) return parsed->path;
    return numberedDevicePath(prefix, *parsed->number);
}

PortFailure deviceTookNothing(const std::string& path) {
    return PortFailure("cannot write to " + path + ": the device took nothing for " +
                       std::to_string(writeBudget.count()) + " s (is the printer offline?)");
}

PortFailure notAPrinterDevice(const std::string& path) { return PortFailure(quoted(path) + " is not a printer device"); }

std::unique_ptr<Port> openDevicePort(std::string_view name) {
    const std::string path = devicePathOf(name, "LPT");
    return std::make_unique<DevicePort>(openDeviceFile(path, DeviceAccess::write), path);
}

}  // namespace setip::native
