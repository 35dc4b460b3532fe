#pragma once

#include "app/cli/command_line.h"

#include <ostream>

namespace setip::cli {

// A port as a failing row shows it; beside the type, where GoogleTest looks for it.
inline void PrintTo(const OfferedPort& port, std::ostream* out) {
    *out << port.entry << " \"" << port.queue << "\" (" << port.description << ")";
}

}  // namespace setip::cli
