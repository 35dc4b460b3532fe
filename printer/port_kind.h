#pragma once

#include "common/text.h"

#include <cstdint>
#include <optional>

namespace setip {

enum class PortKind { network, serial, parallel, driver };

// The kind a port-list entry names: its first three characters against "ETH", "COM", "LPT" and "DRI", in that
// order, case-sensitively. Anything else names no kind.
std::optional<PortKind> portKindOf(TextView entry);

// The printer library's open mode for each kind, as POS_Open takes it.
enum class OpenMode : std::int32_t { network = 21, serial = 1, parallel = 18, driver = 20 };

OpenMode openModeOf(PortKind kind);

}  // namespace setip
