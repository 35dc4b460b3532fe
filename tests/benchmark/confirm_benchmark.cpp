#include "app/cli/command_line.h"
#include "tests/native/loopback_peer.h"

#include <benchmark/benchmark.h>

#include <array>
#include <sstream>
#include <thread>

namespace setip {
namespace {

using namespace std::chrono_literals;

// How long the virtual printer stays silent after the command, as a printer restarting its network does.
constexpr auto restart = 500ms;

// `setip set --confirm` in-process against a printer that restarts for `restart`, from sending the command until the
// printer answers at its new address. The printer moves back and forth between two loopback addresses.
void setConfirmAgainstARestartingPrinter(benchmark::State& state) {
    testing_support::LoopbackPrinter printer{{.hosts = {"127.0.0.71"}, .restartAfter = restart}};
    const std::string port = printer.address().substr(printer.address().find(':'));
    const std::array<std::string, 2> hosts{"127.0.0.71", "127.0.0.72"};
    const cli::System system = cli::systemOfThisMachine();
    std::size_t at = 0;
    for (auto _ : state) {
        std::ostringstream out, err;
        cli::Console console{out, err};
        const int exitCode = cli::runCommandLine(
            {"set", "--port", "ETHERNET", "--at", hosts[at] + port, "--to", hosts[1 - at], "--confirm", "10"}, console,
            system);
        if (exitCode != 0) {
            state.SkipWithError(("set ended with " + std::to_string(exitCode) + ": " + err.str()).c_str());
            break;
        }
        at = 1 - at;
    }
}
BENCHMARK(setConfirmAgainstARestartingPrinter)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(4)
    ->Repetitions(7)->ReportAggregatesOnly(true);

// The baseline: the printer's restart delay itself, which no confirm can beat.
void restartDelayAlone(benchmark::State& state) {
    for (auto _ : state) std::this_thread::sleep_for(restart);
}
BENCHMARK(restartDelayAlone)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(4)->Repetitions(7)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace setip
