#pragma once

#include "common/deadline.h"
#include "printer/native/device.h"

#include "device_handle.h"  // DeviceFile, from the system's folder

#include <cstdint>
#include <span>
#include <string>

namespace setip::native {

// The device calls of the device and serial ports, one file for each system.

// Opens a device file whose writes never block: non-blocking, never as the controlling terminal and closed on exec
// on Linux, where a denied permission also names the group that owns the device, because joining it is the usual
// fix; overlapped and shared with no one on Windows. Only a device is kept open: a character device or a FIFO on
// Linux, a character device or a pipe on Windows; anything else, such as a regular file, is refused untouched.
DeviceFile openDeviceFile(const std::string& path, DeviceAccess access);

// Writes every byte before the deadline, waiting while the device takes nothing; a write still pending then is
// cancelled, and throws PortFailure.
void writeAllBefore(const DeviceFile& file, std::span<const std::uint8_t> bytes, Deadline deadline,
                    const std::string& path);

}  // namespace setip::native
