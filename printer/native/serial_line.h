#pragma once

#include "printer/native/device_file.h"
#include "printer/native/port.h"
#include "printer/native/ports.h"

#include <string>

namespace setip::native {

// What a serial line follows on every system.

// "cannot open <path>: <setting> is not a setting this library takes".
PortFailure refusedSetting(const std::string& path, const std::string& setting);

// The library takes the vendor's values: stop bits 0 = one, 2 = two; parity 0 none, 1 odd, 2 even.
void checkStopBitsAndParity(const SerialSettings& wanted, const std::string& path);

// The serial line calls, one file for each system: termios on Linux, with the line taken for this process
// alone; a DCB on Windows.

// Applies the settings; throws PortFailure when the line refuses them.
void setUpLine(const DeviceFile& line, const SerialSettings& settings, const std::string& path);
// Bytes the system still holds for sending; throws PortFailure when it cannot say.
std::size_t pendingOutput(const DeviceFile& line, const std::string& path);
void discardOutput(const DeviceFile& line);
// Lets the line go: after this the port holds no handle.
void releaseLine(DeviceFile& line);

}  // namespace setip::native
