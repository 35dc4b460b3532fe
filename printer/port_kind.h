#pragma once

#include "common/text.h"

#include <optional>

namespace setip {

enum class PortKind { network, serial, parallel, driver };

// The kind a port-list entry names: its first three characters against "ETH", "COM", "LPT" and "DRI", in that
// order, case-sensitively. Anything else names no kind.
std::optional<PortKind> portKindOf(TextView entry);

}  // namespace setip
