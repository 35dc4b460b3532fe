#include "printer/builtin/scan.h"

#include "printer/builtin/socket.h"

#include <algorithm>

namespace setip::builtin {
namespace {

enum class Stage { connecting, sending, awaitingStatus };
enum class Outcome { pending, silentOrRefused, answered };

// One address being tried.
struct Attempt {
    Ipv4 address = 0;
    Socket socket;
    Deadline deadline;
    Stage stage = Stage::connecting;
    std::size_t sent = 0;  // of the status request
    std::optional<std::uint8_t> status;
};

std::string nameOf(Ipv4 address, std::uint16_t port) { return dottedQuad(address) + ":" + std::to_string(port); }

// Sends the rest of the status request. A send that fails still leaves an address that took the connection.
Outcome sendRequest(Attempt& attempt, std::uint16_t port) {
    try {
        attempt.sent += sendSome(attempt.socket, std::span{statusRequest}.subspan(attempt.sent),
                                 nameOf(attempt.address, port));
    } catch (const PrinterFailure&) {
        return Outcome::answered;
    }
    if (attempt.sent == statusRequest.size()) attempt.stage = Stage::awaitingStatus;
    return Outcome::pending;
}

// Once connected: asks for the status when told to, and otherwise is done without a byte sent.
Outcome connected(Attempt& attempt, const ScanOptions& options) {
    if (!options.identify) return Outcome::answered;
    attempt.stage = Stage::sending;
    return sendRequest(attempt, options.port);
}

Outcome advance(Attempt& attempt, Readiness readiness, const ScanOptions& options) {
    switch (attempt.stage) {
        case Stage::connecting:
            if (readiness == Readiness::failed || pendingError(attempt.socket) != 0) return Outcome::silentOrRefused;
            return connected(attempt, options);
        case Stage::sending: return sendRequest(attempt, options.port);
        case Stage::awaitingStatus: {
            std::uint8_t received[16];
            const auto count = receiveSome(attempt.socket, received);
            if (!count) return Outcome::pending;
            if (*count > 0) attempt.status = received[0];
            return Outcome::answered;
        }
    }
    return Outcome::silentOrRefused;
}

// Starts the connect; an address the system refuses at once is settled at once.
Outcome start(Attempt& attempt, const ScanOptions& options) {
    const auto address = numericAddress(dottedQuad(attempt.address), options.port).value();
    const std::string name = nameOf(attempt.address, options.port);
    attempt.socket = openStreamSocket(address.family(), name);
    try {
        if (!startConnecting(attempt.socket, address.get(), address.length, name)) return Outcome::pending;
    } catch (const PrinterFailure&) {
        return Outcome::silentOrRefused;
    }
    return connected(attempt, options);
}

}  // namespace

std::vector<ScanAnswer> scanAddresses(std::span<const Ipv4> addresses, const ScanOptions& options,
                                      const std::function<void(const ScanProgress&)>& progress) {
    startSockets();
    const std::size_t window = std::clamp<std::size_t>(options.mostInFlight, 1, mostSocketsInOneWait());
    std::vector<ScanAnswer> answers;
    std::vector<Attempt> inFlight;
    ScanProgress counts{0, addresses.size(), 0};
    const auto settle = [&](const Attempt& attempt, Outcome outcome) {
        if (outcome == Outcome::pending) return false;
        ++counts.settled;
        if (outcome == Outcome::answered) {
            answers.push_back({attempt.address, attempt.status});
            ++counts.answered;
        }
        return true;
    };

    for (auto next = addresses.begin(); next != addresses.end() || !inFlight.empty();) {
        const std::size_t settledBefore = counts.settled;
        for (; next != addresses.end() && inFlight.size() < window; ++next) {
            Attempt attempt;
            attempt.address = *next;
            attempt.deadline = deadlineAfter(options.timeout);
            if (!settle(attempt, start(attempt, options))) inFlight.push_back(std::move(attempt));
        }

        std::vector<SocketWait> waits;
        Deadline soonest = Deadline::max();
        for (const Attempt& attempt : inFlight) {
            waits.push_back({&attempt.socket, attempt.stage != Stage::awaitingStatus});
            soonest = std::min(soonest, attempt.deadline);
        }
        if (!waits.empty()) waitForAny(waits, soonest);

        const Deadline now = Clock::now();
        std::size_t kept = 0;
        for (std::size_t i = 0; i < inFlight.size(); ++i) {
            Attempt& attempt = inFlight[i];
            Outcome outcome = waits[i].readiness == Readiness::timedOut
                                  ? Outcome::pending
                                  : advance(attempt, waits[i].readiness, options);
            // Out of time: silent while connecting; connected but without a status byte after.
            if (outcome == Outcome::pending && now >= attempt.deadline) {
                outcome = attempt.stage == Stage::connecting ? Outcome::silentOrRefused : Outcome::answered;
            }
            if (settle(attempt, outcome)) continue;
            if (kept != i) inFlight[kept] = std::move(attempt);
            ++kept;
        }
        inFlight.erase(inFlight.begin() + static_cast<std::ptrdiff_t>(kept), inFlight.end());
        if (progress && counts.settled != settledBefore) progress(counts);
    }
    std::ranges::sort(answers, {}, &ScanAnswer::address);
    return answers;
}

}  // namespace setip::builtin
