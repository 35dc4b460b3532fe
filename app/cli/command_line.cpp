#include "app/cli/command_line.h"

#include "app/cli/find_command.h"
#include "app/cli/ports_command.h"
#include "app/cli/set_command.h"
#include "app/cli/standard_console.h"
#include "printer/library_choice.h"
#include "printer/builtin/network_address.h"
#include "printer/port_kind.h"

#include <CLI/CLI.hpp>

#include <exception>

namespace setip::cli {
namespace {

constexpr const char* exitCodes =
    "Exit codes:\n"
    "  0   done: sent (and, with --confirm, the printer answered at its new address); find: one or more answered,\n"
    "      or only the networks were listed; ports: listed\n"
    "  1   find: no address answered\n"
    "  64  the command line is wrong\n"
    "  65  set: the new address is malformed, or another device already answers there (with --confirm)\n"
    "  69  set: the port could not be opened\n"
    "  70  setip itself failed\n"
    "  74  set: the port opened, but the command was not sent whole\n"
    "  75  set --confirm: the printer did not answer at its new address in time\n";

// An address as the network port reads it, so that a typo is told before anything is sent.
const CLI::Validator networkAddress{[](std::string& text) {
                                       try {
                                           builtin::parseNetworkAddress(text);
                                           return std::string{};
                                       } catch (const PrinterFailure& refused) {
                                           return std::string{refused.what()};
                                       }
                                   },
                                   ""};

// The rules that bind one option to another; CLI11 takes them as usage errors.
void checkSet(const SetOptions& set) {
    const auto kind = portKindOf(fromUtf8(set.port));
    if (kind == PortKind::network && set.at.empty()) {
        throw CLI::ValidationError("--port " + set.port + " needs --at, the printer's present address");
    }
    if (kind == PortKind::driver && set.queue.empty()) {
        throw CLI::ValidationError("--port " + set.port + " needs --queue, the printer queue's name");
    }
    if (set.confirm && set.confirmAt.empty() && kind != PortKind::network) {
        throw CLI::ValidationError("--confirm needs --confirm-at HOST[:PORT] for a port that is not a "
                                                "network one");
    }
    if (set.confirm && !(*set.confirm > 0 && *set.confirm <= 86'400)) {
        throw CLI::ValidationError("--confirm takes a number of seconds from 0 to 86400");
    }
}

}  // namespace

System systemOfThisMachine() {
    return {choosePrinterLibrary, builtin::systemResolver(), localNetworksOfThisMachine, portsOfThisMachine};
}

int commandLineMain(int argc, char** argv) {
    StandardConsole standard;
    return runCommandLine(argumentsOf(argc, argv), standard.console(), systemOfThisMachine());
}

int runCommandLine(const std::vector<std::string>& arguments, Console& console, const System& system) {
    CLI::App app{"setip gives a network receipt printer a new IP address. With no command it opens its window.",
                 "setip"};
    app.set_version_flag("--version", "setip " SETIP_VERSION);
    app.require_subcommand(1);
    app.footer(exitCodes);

    SetOptions set;
    CLI::App* setCommandLine = app.add_subcommand("set", "Send the set-address command to the printer, once");
    setCommandLine->add_option("--port", set.port, "How the printer is reached now: ETHERNET, COMn, COM:PATH, LPTn, "
                                                   "LPT:PATH or DRIVER")->required()->type_name("ENTRY");
    setCommandLine->add_option("--at", set.at, "ETHERNET: the printer's present address")->type_name("HOST[:PORT]");
    setCommandLine->add_option("--queue", set.queue, "DRIVER: the printer queue's name")->type_name("NAME");
    setCommandLine->add_option("--baud", set.baud, "COMn, COM:PATH: the baud rate")->capture_default_str()->type_name("RATE");
    setCommandLine->add_option("--to", set.to, "The new address, such as 10.0.0.50")->required()->type_name("ADDRESS");
    setCommandLine->add_option("--confirm", set.confirm, "Then wait up to SECONDS for the printer to take a "
                                                         "connection at its new address; it is sent nothing")
        ->expected(0, 1)->default_str("60")->type_name("SECONDS");
    setCommandLine->add_option("--confirm-at", set.confirmAt, "Where --confirm waits, for a port that is not a "
                                                              "network one")->check(networkAddress)->type_name("HOST[:PORT]");
    setCommandLine->add_flag("--force", set.force, "With --confirm, send even when another device already answers "
                                                   "at the new address");
    setCommandLine->add_flag("--json", set.json, "Print the outcome as one JSON document");

    FindOptions find;
    CLI::App* findCommandLine = app.add_subcommand("find", "Find the addresses that take a connection on the raw "
                                                           "printing port. With no range, list this machine's networks");
    findCommandLine->add_option("ranges", find.ranges, "Address ranges to scan, such as 192.168.1.0/24")->type_name("RANGE");
    findCommandLine->add_flag("--local", find.local, "Scan this machine's own networks, each of at most 1,024 "
                                                     "addresses");
    findCommandLine->add_option("--port", find.port, "The port to try")->capture_default_str()->type_name("PORT");
    findCommandLine->add_flag("--identify", find.identify, "Ask each that answers for its status (DLE EOT 1); "
                                                           "otherwise nothing is sent");
    findCommandLine->add_option("--timeout", find.timeout, "Seconds each address is given to answer")
        ->capture_default_str()->check(CLI::Range(0.01, 60.0).description(""))->type_name("SECONDS");
    findCommandLine->add_flag("--json", find.json, "Print what was found as one JSON document");

    PortsOptions ports;
    CLI::App* portsCommandLine = app.add_subcommand("ports", "List the ports this machine offers, as set --port "
                                                             "takes them");
    portsCommandLine->add_flag("--json", ports.json, "Print the list as one JSON document");

    try {
        std::vector<std::string> reversed{arguments.rbegin(), arguments.rend()};  // CLI11 takes them last first
        app.parse(reversed);
        if (setCommandLine->parsed()) checkSet(set);
    } catch (const CLI::ParseError& error) {
        const int shown = app.exit(error, console.out, console.err);
        return error.get_exit_code() == 0 ? shown : exit_code::usage;
    }

    try {
        if (setCommandLine->parsed()) return setCommand(set, console, system);
        if (findCommandLine->parsed()) return findCommand(find, console, system);
        return portsCommand(ports, console, system);
    } catch (const std::exception& unexpected) {
        console.err << "setip: " << unexpected.what() << '\n';
        return exit_code::internal;
    }
}

}  // namespace setip::cli
