#include "app/cli/find_command.h"

#include "app/cli/progress.h"
#include "printer/builtin/network_address.h"
#include "printer/builtin/scan.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iomanip>
#include <optional>

namespace setip::cli {
namespace {

using Json = nlohmann::ordered_json;
using builtin::AddressRange;

// --local takes a network of at most this many addresses; a larger one is more than a quick look, so it is named.
constexpr std::uint64_t mostForLocal = 1024;
// A named range holds at most a /16: a larger one would take hours.
constexpr int shortestNamedPrefix = 16;

// A range to scan, or that was left out: a named one has no interface.
struct Target {
    AddressRange range;
    std::string interfaceName;
};

// "65,534"
std::string grouped(std::uint64_t number) {
    const std::string digits = std::to_string(number);
    std::string text;
    for (std::size_t at = 0; at < digits.size(); ++at) {
        if (at > 0 && (digits.size() - at) % 3 == 0) text += ',';
        text += digits[at];
    }
    return text;
}

Json targetJson(const Target& target) {
    return {{"range", target.range.text()},
            {"interface", target.interfaceName.empty() ? Json(nullptr) : Json(target.interfaceName)},
            {"addresses", target.range.hostCount()}};
}

Json listJson(const std::vector<Target>& targets) {
    Json list = Json::array();
    for (const Target& target : targets) list.push_back(targetJson(target));
    return list;
}

std::string statusText(const std::optional<std::uint8_t>& status) {
    if (!status) return "none";
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", *status);
    return std::string{hex} + (builtin::isPrinterStatus(*status) ? ", a printer's status" : ", not a printer's status");
}

// A left-aligned column `width` wide, or the text alone in the last one.
std::string cell(const std::string& text, std::size_t width = 0) {
    return width > text.size() ? text + std::string(width - text.size(), ' ') : text;
}

// The machine's own networks, read; one it cannot read is left out.
std::vector<Target> localTargets(const System& system) {
    std::vector<Target> targets;
    for (const LocalNetwork& network : system.localNetworks()) {
        try {
            targets.push_back({builtin::parseAddressRange(network.range), network.interfaceName});
        } catch (const PrinterFailure&) {
        }
    }
    return targets;
}

class Find {
public:
    Find(const FindOptions& options, Console& console, const System& system)
        : options_(options), console_(console), system_(system) {
        report_ = {{"command", "find"},
                   {"request", {{"ranges", options.ranges}, {"local", options.local}, {"port", options.port},
                                {"identify", options.identify}, {"timeout", options.timeout}}},
                   {"networks", Json::array()}};
    }

    int run() {
        if (options_.ranges.empty() && !options_.local) return listNetworks();
        std::vector<Target> scanned;
        for (const std::string& text : options_.ranges) {
            AddressRange range;
            try {
                range = builtin::parseAddressRange(text);
            } catch (const PrinterFailure& refused) {
                return usage(refused.what());
            }
            if (range.prefixLength < shortestNamedPrefix) {
                const AddressRange widest{0, shortestNamedPrefix};
                return usage(range.text() + " holds " + grouped(range.size()) + " addresses; find scans at most a /" +
                             std::to_string(shortestNamedPrefix) + " (" + grouped(widest.size()) +
                             ") at once: name smaller ranges");
            }
            scanned.push_back({range, ""});
        }
        std::vector<Target> skipped;
        if (options_.local) {
            const auto networks = localTargets(system_);
            report_["networks"] = networksJson(networks);
            for (const Target& network : networks) {
                if (network.range.size() <= mostForLocal) {
                    scanned.push_back(network);
                    continue;
                }
                skipped.push_back(network);
                console_.err << "setip: skipping " << network.interfaceName << "'s network " << network.range.text()
                             << ": " << grouped(network.range.hostCount()) << " addresses, more than --local scans ("
                             << grouped(mostForLocal) << "); name a smaller range to scan part of it\n";
            }
        }
        report_["scanned"] = listJson(scanned);
        report_["skipped"] = listJson(skipped);
        return scan(scanned);
    }

private:
    int usage(const std::string& reason) {
        console_.err << "setip: " << reason << '\n';
        return exit_code::usage;
    }

    static Json networksJson(const std::vector<Target>& networks) {
        Json list = Json::array();
        for (const Target& network : networks) {
            Json entry = targetJson(network);
            entry["too_large"] = network.range.size() > mostForLocal;
            list.push_back(entry);
        }
        return list;
    }

    // No scan: what --local would scan, and how to ask for it.
    int listNetworks() {
        const auto networks = localTargets(system_);
        report_["networks"] = networksJson(networks);
        for (const char* list : {"scanned", "skipped", "found"}) report_[list] = Json::array();
        if (!options_.json && !networks.empty()) {
            std::size_t width = 11;
            for (const Target& network : networks) width = std::max(width, network.interfaceName.size() + 2);
            console_.out << cell("INTERFACE", width) << cell("NETWORK", 20) << "ADDRESSES\n";
            for (const Target& network : networks) {
                console_.out << cell(network.interfaceName, width) << cell(network.range.text(), 20)
                             << grouped(network.range.hostCount())
                             << (network.range.size() > mostForLocal ? ", too many for --local" : "") << '\n';
            }
        }
        const auto example = std::ranges::find_if(
            networks, [](const Target& network) { return network.range.size() <= mostForLocal; });
        console_.err << "setip: nothing was scanned. "
                     << (networks.empty() ? "This machine has no IPv4 network besides loopback; name" : "To scan "
                         "these networks: setip find --local; or name")
                     << " a range: setip find " << (example == networks.end() ? "RANGE" : example->range.text())
                     << '\n';
        return finish("listed", exit_code::ok);
    }

    int scan(const std::vector<Target>& targets) {
        std::vector<builtin::Ipv4> addresses;
        for (const Target& target : targets) std::ranges::copy(target.range.hosts(), std::back_inserter(addresses));
        std::ranges::sort(addresses);
        addresses.erase(std::unique(addresses.begin(), addresses.end()), addresses.end());

        builtin::ScanOptions scanOptions;
        scanOptions.port = options_.port;
        scanOptions.timeout = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>{options_.timeout});
        scanOptions.identify = options_.identify;
        Progress progress{console_};
        const auto answers = builtin::scanAddresses(addresses, scanOptions, [&](const builtin::ScanProgress& done) {
            // Kept within 80 columns, or the terminal would wrap it and each redraw start a new line.
            progress.show("scanning port " + std::to_string(options_.port) + " " +
                          Progress::bar(done.settled, done.total, 20) + " " + grouped(done.settled) + " of " +
                          grouped(done.total) + ", " + grouped(done.answered) + " answered");
        });
        progress.clear();

        report_["found"] = Json::array();
        for (const auto& answer : answers) {
            const bool identified = options_.identify && answer.status;
            const Json found = {
                {"address", builtin::dottedQuad(answer.address)},
                {"port", options_.port},
                {"status", identified ? Json(*answer.status) : Json(nullptr)},
                {"receipt_printer", identified ? Json(builtin::isPrinterStatus(*answer.status)) : Json(nullptr)}};
            report_["found"].push_back(found);
        }
        if (!options_.json && !answers.empty()) {
            console_.out << cell("ADDRESS", 17) << (options_.identify ? cell("PORT", 7) + "STATUS" : "PORT") << '\n';
            for (const auto& answer : answers) {
                const std::string port = std::to_string(options_.port);
                console_.out << cell(builtin::dottedQuad(answer.address), 17)
                             << (options_.identify ? cell(port, 7) + statusText(answer.status) : port) << '\n';
            }
        }
        if (addresses.empty()) {
            console_.err << "setip: no network was left to scan\n";
        } else {
            console_.err << "setip: " << (answers.empty() ? "none" : grouped(answers.size())) << " of "
                         << grouped(addresses.size()) << " addresses answered on port " << options_.port << '\n';
        }
        return answers.empty() ? finish("none_found", exit_code::nothingFound) : finish("found", exit_code::ok);
    }

    int finish(const char* outcome, int exitCode) {
        report_["outcome"] = outcome;
        report_["exit_code"] = exitCode;
        if (options_.json) console_.out << report_.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
        return exitCode;
    }

    const FindOptions& options_;
    Console& console_;
    const System& system_;
    Json report_;
};

}  // namespace

int findCommand(const FindOptions& options, Console& console, const System& system) {
    return Find{options, console, system}.run();
}

}  // namespace setip::cli
