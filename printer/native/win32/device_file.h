#pragma once

#include "common/deadline.h"
#include "printer/native/win32/unique_handle.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace setip::native {

// The device path a port name stands for: "<prefix>n" is \\.\<prefix>n, which reaches COM10 and above too, and
// "<prefix>:path" is the path itself. Throws PortFailure naming both accepted forms when the name is neither.
std::string devicePathOf(std::string_view name, std::string_view prefix);

// Opens a device for overlapped writing (and reading, when asked), shared with no one.
UniqueHandle openDeviceFile(const std::string& path, bool alsoRead);

// Writes every byte before the deadline; a write still pending then is cancelled and throws PortFailure.
void writeAllBefore(HANDLE device, std::span<const std::uint8_t> bytes, Deadline deadline, const std::string& path);

}  // namespace setip::native
