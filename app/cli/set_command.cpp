#include "app/cli/set_command.h"

#include "app/cli/progress.h"
#include "common/error.h"
#include "printer/builtin/network_port.h"
#include "printer/port_kind.h"
#include "printer/press.h"
#include "printer/set_address_command.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <thread>

namespace setip::cli {
namespace {

using namespace std::chrono_literals;
using Json = nlohmann::ordered_json;

// How long one connect to the printer's new address may take before the wait tries again, and the pause between
// tries. A printer that restarts its network refuses at first, or does not answer at all.
constexpr auto attemptBudget = 2s;
constexpr auto pause = 250ms;
// How long the check before the press waits for another device at the new address.
constexpr auto takenBudget = 1s;

std::string seconds(Clock::duration duration) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", std::chrono::duration<double>(duration).count());
    return text;
}

std::string shown(const builtin::NetworkAddress& address) { return address.host + ":" + std::to_string(address.port); }

std::string dotted(const Octets& octets) {
    return std::to_string(octets[0]) + "." + std::to_string(octets[1]) + "." + std::to_string(octets[2]) + "." +
           std::to_string(octets[3]);
}

// Where the printer is to answer once it has taken its new address: --confirm-at, or for a network port the new
// address at the port it is reached on now. Nothing when the press is bound to refuse the addresses anyway.
std::optional<builtin::NetworkAddress> whereToConfirm(const SetOptions& options) {
    if (!options.confirmAt.empty()) return builtin::parseNetworkAddress(options.confirmAt);
    try {
        return builtin::NetworkAddress{dotted(parseNewAddress(fromUtf8(options.to))),
                                       builtin::parseNetworkAddress(options.at).port};
    } catch (const Error&) {
        return std::nullopt;
    } catch (const PrinterFailure&) {
        return std::nullopt;
    }
}

// Waits, trying again and again, until the printer takes a connection at the address or the time is up; gives how
// long it took, or nothing. Both count from the start of the press: the printer may begin its restart before the
// press has returned, and the time it takes must not look shorter than it was.
std::optional<Clock::duration> waitForPrinter(const builtin::NetworkAddress& address, Clock::time_point started,
                                              Clock::duration limit, Console& console, const System& system) {
    const Deadline deadline = started + limit;
    Progress progress{console};
    for (;;) {
        if (builtin::acceptsConnection(address, *system.resolver, std::min(deadline, deadlineAfter(attemptBudget)))) {
            return Clock::now() - started;
        }
        if (Clock::now() >= deadline) return std::nullopt;
        progress.show("waiting for the printer at " + shown(address) + ": " + seconds(Clock::now() - started) +
                      " s of " + seconds(limit) + " s");
        std::this_thread::sleep_until(std::min(deadline, Clock::now() + pause));
    }
}

struct Result {
    int exitCode;
    const char* outcome;
};

Result resultOf(const PressOutcome& outcome) {
    if (outcome.sent()) return {exit_code::ok, "sent"};
    switch (*outcome.failedAt) {
        case PressStage::address: return {exit_code::addressRefused, "address_refused"};
        case PressStage::open: return {exit_code::portRefused, "port_refused"};
        case PressStage::send: return {exit_code::sendFailed, "send_failed"};
    }
    return {exit_code::internal, "internal"};
}

}  // namespace

int setCommand(const SetOptions& options, Console& console, const System& system) {
    Json report{{"command", "set"},
                {"request", {{"port", options.port}, {"at", options.at}, {"queue", options.queue},
                             {"baud", options.baud}, {"to", options.to}}}};
    const auto finish = [&](Result result, const std::string& reason) {
        if (!reason.empty()) console.err << "setip: " << reason << '\n';
        report["outcome"] = result.outcome;
        report["reason"] = reason;
        report["exit_code"] = result.exitCode;
        if (options.json) console.out << report.dump(2) << '\n';
        return result.exitCode;
    };

    const auto confirmAt = options.confirm ? whereToConfirm(options) : std::nullopt;
    // A device already at the new address would clash with the printer, which most likely takes it blindly.
    if (confirmAt && !options.force &&
        builtin::acceptsConnection(*confirmAt, *system.resolver, deadlineAfter(takenBudget))) {
        report["handle"] = nullptr;
        return finish({exit_code::addressRefused, "address_taken"},
                      shown(*confirmAt) + " already answers, so another device probably has that address; nothing was "
                      "sent (--force sends anyway)");
    }

    const auto library = system.chooseLibrary(console.err);
    const PressRequest request{fromUtf8(options.port), fromUtf8(options.at), fromUtf8(options.queue),
                               fromUtf8(options.baud), fromUtf8(options.to)};
    const auto pressed = Clock::now();
    const PressOutcome outcome = pressSetIp(request, *library);
    report["handle"] = outcome.handle ? Json(*outcome.handle) : Json(nullptr);
    if (!outcome.sent()) return finish(resultOf(outcome), outcome.reason);

    const std::string newAddress = dotted(parseNewAddress(request.newAddress));
    if (!confirmAt) {
        if (!options.json) console.out << "sent the new address " << newAddress << '\n';
        return finish(resultOf(outcome), "");
    }
    const auto limit = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>{*options.confirm});
    const auto took = waitForPrinter(*confirmAt, pressed, limit, console, system);
    report["confirm"] = {{"address", shown(*confirmAt)},
                         {"answered", took.has_value()},
                         {"seconds", took ? Json(std::chrono::duration<double>(*took).count()) : Json(nullptr)},
                         {"limit", *options.confirm}};
    if (!took) {
        if (!options.json) console.out << "sent the new address " << newAddress << '\n';
        return finish({exit_code::notBack, "not_back"}, "the printer did not answer at " + shown(*confirmAt) +
                                                            " within " + seconds(limit) + " s");
    }
    if (!options.json) {
        console.out << "sent the new address " << newAddress << "; the printer answered at " << shown(*confirmAt)
                    << " after " << seconds(*took) << " s\n";
    }
    return finish(resultOf(outcome), "");
}

}  // namespace setip::cli
