#include "app/cli/ports_command.h"

#include "printer/builtin/queue_port.h"
#include "printer/port_kind.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

namespace setip::cli {
namespace {

using Json = nlohmann::ordered_json;

const char* kindName(const std::string& entry) {
    const auto kind = portKindOf(fromUtf8(entry));
    if (!kind) return "unknown";
    switch (*kind) {
        case PortKind::network: return "network";
        case PortKind::serial: return "serial";
        case PortKind::parallel: return "parallel";
        case PortKind::driver: return "driver";
    }
    return "unknown";
}

// The width a terminal gives a UTF-8 text, one cell for each character, so that a queue named in any script keeps
// its column.
std::size_t cells(const std::string& text) {
    return static_cast<std::size_t>(
        std::ranges::count_if(text, [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// Columns of PORT, QUEUE and DESCRIPTION, two blanks apart; a port with no queue shows "-" there, so that every
// line has three fields before the description.
void printTable(const std::vector<OfferedPort>& ports, std::ostream& out) {
    using Row = std::array<std::string, 3>;
    std::vector<Row> rows{{"PORT", "QUEUE", "DESCRIPTION"}};
    for (const OfferedPort& port : ports) {
        rows.push_back({port.entry, port.queue.empty() ? "-" : port.queue, port.description});
    }
    std::array<std::size_t, 2> widths{};
    for (const Row& row : rows) {
        for (std::size_t column = 0; column < widths.size(); ++column) {
            widths[column] = std::max(widths[column], cells(row[column]));
        }
    }
    for (const Row& row : rows) {
        for (std::size_t column = 0; column < widths.size(); ++column) {
            out << row[column] << std::string(widths[column] - cells(row[column]) + 2, ' ');
        }
        out << row.back() << '\n';
    }
}

}  // namespace

int portsCommand(const PortsOptions& options, Console& console, const System& system) {
    const std::vector<OfferedPort> ports = system.offeredPorts();
    if (options.json) {
        Json listed = Json::array();
        for (const OfferedPort& port : ports) {
            listed.push_back({{"port", port.entry},
                              {"queue", port.queue.empty() ? Json(nullptr) : Json(port.queue)},
                              {"kind", kindName(port.entry)},
                              {"description", port.description}});
        }
        const Json document{{"command", "ports"}, {"ports", listed}};
        console.out << document.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
    } else if (!ports.empty()) {
        printTable(ports, console.out);
    }
    if (ports.empty()) {
        console.err << "setip: this machine offers no serial line, printer device or printer queue; a network "
                       "printer needs none (set --port ETHERNET --at ADDRESS)\n";
    }
    return exit_code::ok;
}

std::vector<OfferedPort> installedQueuePorts() {
    std::vector<OfferedPort> ports;
    for (const Text& queue : builtin::installedQueues()) ports.push_back({"DRIVER", toUtf8(queue), "printer queue"});
    return ports;
}

}  // namespace setip::cli
