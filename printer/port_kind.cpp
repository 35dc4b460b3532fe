#include "printer/port_kind.h"

#include <array>
#include <utility>

namespace setip {

std::optional<PortKind> portKindOf(TextView entry) {
    static constexpr std::array<std::pair<TextView, PortKind>, 4> keys{{
        {u"ETH", PortKind::network},
        {u"COM", PortKind::serial},
        {u"LPT", PortKind::parallel},
        {u"DRI", PortKind::driver},
    }};
    for (const auto& [key, kind] : keys) {
        if (entry.starts_with(key)) return kind;
    }
    return std::nullopt;
}

}  // namespace setip
