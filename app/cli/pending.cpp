// Commands still being written; this file goes when they come.
#include "app/cli/find_command.h"

namespace setip::cli {

int findCommand(const FindOptions&, Console& console, const System&) {
    console.err << "setip: find is not built yet\n";
    return exit_code::internal;
}
std::vector<LocalNetwork> localNetworksOfThisMachine() { return {}; }

}  // namespace setip::cli
