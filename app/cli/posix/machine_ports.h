#pragma once

#include "app/cli/command_line.h"

#include <filesystem>
#include <vector>

namespace setip::cli {

// The serial lines and printer devices of the system whose root is `root`, in the form set takes them: /dev/ttyS3 as
// COM4, /dev/ttyUSB0 as COM:/dev/ttyUSB0, /dev/lp0 as LPT1 and /dev/usb/lp0 as LPT:/dev/usb/lp0. A ttyS line counts
// only when its driver found a port behind it. Nothing is opened: a device is known by its node and /sys alone.
std::vector<OfferedPort> devicePortsUnder(const std::filesystem::path& root);

}  // namespace setip::cli
