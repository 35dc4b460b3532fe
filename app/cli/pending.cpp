// Commands still being written; this file goes when they come.
#include "app/cli/ports_command.h"

namespace setip::cli {

int portsCommand(const PortsOptions&, Console& console, const System&) {
    console.err << "setip: ports is not built yet\n";
    return exit_code::internal;
}
std::vector<OfferedPort> portsOfThisMachine() { return {}; }

}  // namespace setip::cli
