#pragma once

#include "printer/builtin/resolver.h"
#include "printer/printer_library.h"

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace setip::cli {

// What a command ends with, for scripts. `setip --help` and the manual page list them.
namespace exit_code {
inline constexpr int ok = 0;
inline constexpr int nothingFound = 1;     // find: no address answered
inline constexpr int usage = 64;           // the command line is wrong
inline constexpr int addressRefused = 65;  // set: the new address is malformed, or another device answers there
inline constexpr int portRefused = 69;     // set: the port could not be opened
inline constexpr int internal = 70;        // setip itself failed
inline constexpr int sendFailed = 74;      // set: the port opened, but the command was not sent whole
inline constexpr int notBack = 75;         // set --confirm: the printer did not answer at its new address in time
}  // namespace exit_code

// Where a command writes. Data goes to `out`: a line of result, a table, or one JSON document. Messages and progress
// go to `err`. Both take UTF-8.
struct Console {
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false;  // progress is drawn only on a terminal
};

// One of the machine's own IPv4 networks.
struct LocalNetwork {
    std::string interfaceName;
    std::string range;  // "192.168.1.0/24"

    friend bool operator==(const LocalNetwork&, const LocalNetwork&) = default;
};

// A port this machine offers, as `set` takes it: `--port ENTRY`, and `--queue QUEUE` for a printer queue.
struct OfferedPort {
    std::string entry;        // "COM1", "COM:/dev/ttyUSB0", "LPT:/dev/usb/lp0", "DRIVER"
    std::string queue;        // the queue's name, for DRIVER only
    std::string description;  // what it is: "serial line /dev/ttyS0", "printer queue", ...

    friend bool operator==(const OfferedPort&, const OfferedPort&) = default;
};

// What the commands reach of the machine; the program gives the machine's own, a test its stand-ins.
struct System {
    // The printer library a press goes through; one that cannot be used is told on the stream given.
    std::function<std::unique_ptr<PrinterLibrary>(std::ostream& diagnostics)> chooseLibrary;
    std::shared_ptr<const builtin::NameResolver> resolver;
    std::function<std::vector<LocalNetwork>()> localNetworks;
    std::function<std::vector<OfferedPort>()> offeredPorts;
};

// The machine's own.
System systemOfThisMachine();

// Runs `setip ARGUMENTS...`, the program's name left out, and gives its exit code. Never throws.
int runCommandLine(const std::vector<std::string>& arguments, Console& console, const System& system);

// The whole command line as a program's main: the process's own arguments, standard streams and machine.
int commandLineMain(int argc, char** argv);

}  // namespace setip::cli
