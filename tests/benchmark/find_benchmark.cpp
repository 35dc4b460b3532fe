#include "app/cli/command_line.h"
#include "tests/native/loopback_peer.h"

#include <benchmark/benchmark.h>

#include <poll.h>
#include <sys/socket.h>

#include <sstream>

namespace setip {
namespace {

// Three virtual printers in 127.0.0.0/24 at one port, where every other address refuses; shared by both runs.
const testing_support::LoopbackPrinter& printers() {
    static const testing_support::LoopbackPrinter shared{
        {.hosts = {"127.0.0.9", "127.0.0.30", "127.0.0.100"},
         .port = static_cast<std::uint16_t>(std::stoi(testing_support::refusingAddress().substr(10)))}};
    return shared;
}

std::string portOf(const std::string& address) { return address.substr(address.find(':') + 1); }

// `setip find 127.0.0.0/24` whole: the range read, the scan, the table.
void findOverASlash24(benchmark::State& state) {
    const std::string port = portOf(printers().address());
    const cli::System system{{}, {}, [] { return std::vector<cli::LocalNetwork>{}; }, {}};
    for (auto _ : state) {
        std::ostringstream out, err;
        cli::Console console{out, err, false};
        if (cli::runCommandLine({"find", "127.0.0.0/24", "--port", port}, console, system) != 0) {
            state.SkipWithError("find found nothing");
        }
    }
}
BENCHMARK(findOverASlash24)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(15)->ReportAggregatesOnly(true);

// The baseline: a non-blocking connect to each of the same 254 addresses at once, one poll until each is settled,
// with no deadline, no bound on those in flight and no table.
void bareConnectsOverASlash24(benchmark::State& state) {
    const auto port = static_cast<std::uint16_t>(std::stoi(portOf(printers().address())));
    for (auto _ : state) {
        std::vector<UniqueFd> sockets;
        std::vector<pollfd> waits;
        for (int last = 1; last < 255; ++last) {
            auto target = testing_support::socketAddress("127.0.0." + std::to_string(last) + ":" + std::to_string(port));
            sockets.emplace_back(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
            ::connect(sockets.back().get(), reinterpret_cast<const sockaddr*>(&target), sizeof target);
            waits.push_back({sockets.back().get(), POLLOUT, 0});
        }
        std::size_t answered = 0;
        for (std::size_t settled = 0; settled < waits.size();) {
            ::poll(waits.data(), waits.size(), -1);
            for (pollfd& wait : waits) {
                if (wait.revents == 0) continue;
                answered += (wait.revents & (POLLERR | POLLHUP)) == 0 ? 1 : 0;
                wait.fd = -1;  // poll skips it from now on
                ++settled;
            }
        }
        if (answered != 3) state.SkipWithError("the bare loop did not find the three printers");
    }
}
BENCHMARK(bareConnectsOverASlash24)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(15)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace setip
