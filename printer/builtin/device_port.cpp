#include "printer/builtin/device_port.h"

#include "common/text.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace setip::builtin {

std::optional<DeviceName> parseDeviceName(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix)) return std::nullopt;
    const std::string_view rest = name.substr(prefix.size());
    if (rest.starts_with(':')) {
        if (rest.size() == 1) return std::nullopt;
        return DeviceName{std::nullopt, std::string{rest.substr(1)}};
    }
    const bool digitsOnly = !rest.empty() && std::all_of(rest.begin(), rest.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
    // Four digits reach far beyond any machine's port count and never overflow.
    if (!digitsOnly || rest.front() == '0' || rest.size() > 4) return std::nullopt;
    unsigned number = 0;
    std::from_chars(rest.data(), rest.data() + rest.size(), number);
    return DeviceName{number, {}};
}

std::string devicePathOf(std::string_view name, std::string_view prefix) {
    const auto parsed = parseDeviceName(name, prefix);
    if (!parsed) {
        throw PrinterFailure(quoted(name) + " names no port: write " + std::string{prefix} + "n or " +
                             std::string{prefix} + ": followed by a device path");
    }
    if (!parsed->number) return parsed->path;
    return numberedDevicePath(prefix, *parsed->number);
}

DevicePort::DevicePort(DeviceFile file, std::string path) : file_(std::move(file)), path_(std::move(path)) {}

void DevicePort::write(std::span<const std::uint8_t> bytes) {
    writeAllBefore(file_, bytes, deadlineAfter(writeBudget), path_);
}

void DevicePort::close() { file_.reset(); }

std::unique_ptr<Port> openDevicePort(std::string_view name) {
    const std::string path = devicePathOf(name, "LPT");
    return std::make_unique<DevicePort>(openDeviceFile(path, DeviceAccess::write), path);
}

PrinterFailure deviceTookNothing(const std::string& path) {
    return PrinterFailure("cannot write to " + path + ": the device took nothing for " +
                          std::to_string(writeBudget.count()) + " s (is the printer offline?)");
}

PrinterFailure notAPrinterDevice(const std::string& path) {
    return PrinterFailure(quoted(path) + " is not a printer device");
}

}  // namespace setip::builtin
