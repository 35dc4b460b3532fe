#pragma once

#include "common/deadline.h"
#include "printer/native/port.h"
#include "printer/native/posix/unique_fd.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace setip::native {

// The device path a port name stands for: "<prefix>n" is numberedStem followed by n-1, "<prefix>:path" is the
// path itself. Throws PortFailure naming both accepted forms when the name is neither.
std::string devicePathOf(std::string_view name, std::string_view prefix, std::string_view numberedStem);

// Opens a device file with O_NOCTTY | O_NONBLOCK | O_CLOEXEC added to `flags`. When permission is denied, the
// reason also names the group that owns the device, because joining it is the usual fix.
UniqueFd openDeviceFile(const std::string& path, int flags);

// Writes every byte before the deadline, waiting while the device takes nothing; throws PortFailure otherwise.
void writeAllBefore(int fd, std::span<const std::uint8_t> bytes, Deadline deadline, const std::string& path);

}  // namespace setip::native
