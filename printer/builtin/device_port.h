#pragma once

#include "common/deadline.h"
#include "printer/builtin/port.h"

#include "device_handle.h"  // DeviceFile, from the system's folder

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace setip::builtin {

// How a serial or parallel port is named: by number after its prefix ("COM12", "LPT1"), or by a device path after
// the prefix and a colon ("COM:/dev/ttyUSB0", "LPT:/dev/usb/lp0"). Exactly one of the two is set.
struct DeviceName {
    std::optional<unsigned> number;
    std::string path;

    friend bool operator==(const DeviceName&, const DeviceName&) = default;
};

// Nothing when the name is neither form: no digits, a port 0, leading zeros, stray characters or an empty path.
std::optional<DeviceName> parseDeviceName(std::string_view name, std::string_view prefix);

// The device path a port name stands for. Throws PrinterFailure naming both accepted forms when the name is neither.
std::string devicePathOf(std::string_view name, std::string_view prefix);

// A parallel or USB printer device, and the base of a serial line. Its writes never block the window (non-blocking
// on Linux, overlapped on Windows), because an offline printer holds a plain write forever.
class DevicePort : public Port {
public:
    DevicePort(DeviceFile file, std::string path);
    void write(std::span<const std::uint8_t> bytes) override;
    void close() override;

protected:
    DeviceFile file_;
    std::string path_;
};

// A printer device, "LPTn" or "LPT:path".
std::unique_ptr<Port> openDevicePort(std::string_view name);

// How a device fails, in words written once here for both systems' calls below.
PrinterFailure deviceTookNothing(const std::string& path);  // before the write deadline
PrinterFailure notAPrinterDevice(const std::string& path);  // one slip of the keyboard must not overwrite a file

// The device calls, one file for each system.

enum class DeviceAccess { write, readWrite };

// The system's device for port n of the kind the prefix names ("COM", "LPT").
std::string numberedDevicePath(std::string_view prefix, unsigned number);

// Opens a device file whose writes never block: non-blocking, never as the controlling terminal and closed on exec
// on Linux, where a denied permission also names the group that owns the device, because joining it is the usual
// fix; overlapped and shared with no one on Windows. Only a device is kept open: a character device or a FIFO on
// Linux, a character device or a pipe on Windows; anything else, such as a regular file, is refused untouched.
DeviceFile openDeviceFile(const std::string& path, DeviceAccess access);

// Writes every byte before the deadline, waiting while the device takes nothing; a write still pending then is
// cancelled.
void writeAllBefore(const DeviceFile& file, std::span<const std::uint8_t> bytes, Deadline deadline,
                    const std::string& path);

}  // namespace setip::builtin
