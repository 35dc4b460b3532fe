#pragma once

#include "printer/builtin/device_port.h"
#include "printer/printer_library.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace setip::builtin {

// A serial line, "COMn" or "COM:path": raw, at the given settings, with no flow control of any kind and held for
// this process alone. Its end of a document waits, bounded, for the line to send what it holds.
std::unique_ptr<Port> openSerialPort(std::string_view name, const LineSettings& line);

// What a serial line follows on every system.

// "cannot open <path>: <setting> is not a setting this library takes".
PrinterFailure refusedSetting(const std::string& path, const std::string& setting);

// The library takes the vendor's values: stop bits 0 = one, 2 = two; parity 0 none, 1 odd, 2 even.
void checkStopBitsAndParity(const LineSettings& wanted, const std::string& path);

// The serial line calls, one file for each system: termios on Linux, with the line taken for this process alone; a
// DCB on Windows.

// Applies the settings; throws PrinterFailure when the line refuses them.
void setUpLine(const DeviceFile& line, const LineSettings& settings, const std::string& path);
// Bytes the system still holds for sending; throws PrinterFailure when it cannot say.
std::size_t pendingOutput(const DeviceFile& line, const std::string& path);
void discardOutput(const DeviceFile& line);
// Lets the line go: after this the port holds no handle.
void releaseLine(DeviceFile& line);

}  // namespace setip::builtin
