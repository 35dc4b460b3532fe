#pragma once

#include "printer/native/port.h"

#include <string>
#include <string_view>

namespace setip::native {

// What printer devices do alike on every system. The system's own calls are in posix/ and win32/device_file.h.

enum class DeviceAccess { write, readWrite };

// The device path a port name stands for: "<prefix>n" is the system's numbered device, "<prefix>:path" is the path
// itself. Throws PortFailure naming both accepted forms when the name is neither.
std::string devicePathOf(std::string_view name, std::string_view prefix);

// The system's device for port n of the kind the prefix names ("COM", "LPT"); one file for each system has it.
std::string numberedDevicePath(std::string_view prefix, unsigned number);

// The failure of a write that the device did not take before the write deadline.
PortFailure deviceTookNothing(const std::string& path);

// The refusal of a typed path that opened but is no device, such as a regular file: one slip of the keyboard must
// not overwrite a file.
PortFailure notAPrinterDevice(const std::string& path);

}  // namespace setip::native
