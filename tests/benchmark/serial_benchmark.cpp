#include "printer/native/native_library.h"
#include "printer/press.h"
#include "printer/set_address_command.h"
#include "tests/ports/pseudo_terminal.h"
#include "tests/support/recording_library.h"

#include <benchmark/benchmark.h>

#include <sstream>

namespace setip {
namespace {

using testing_support::readArrived;
const Text newAddress = u"127.0.0.9";

// A whole press on a serial line at 115200 baud: open with the line settings, StartDoc, the 11 bytes, EndDoc with
// its drain, and the close. Reading the far side empty each time keeps its buffer from filling.
void pressOverPseudoTerminal(benchmark::State& state) {
    const testing_support::PseudoTerminal line;
    native::NativeLibrary library;
    testing_support::RecordingMessages messages;
    std::ostringstream diagnostics;
    const WindowInputs inputs{u"COM:" + fromUtf8(line.path), u"", u"", u"115200", newAddress};
    for (auto _ : state) {
        pressSetIp(inputs, library, messages, diagnostics);
        if (readArrived(line.far.get(), 11).size() != 11) state.SkipWithError("the press did not deliver the command");
    }
}
BENCHMARK(pressOverPseudoTerminal)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(9)
    ->ReportAggregatesOnly(true);

// The baseline: the same 11 bytes written straight to the open line and read at the far side, with no library.
// None of them is one that the line's output processing changes.
void barePseudoTerminalWrite(benchmark::State& state) {
    const testing_support::PseudoTerminal line;
    const SetAddressCommand command = setAddressCommand(parseNewAddress(newAddress));
    for (auto _ : state) {
        benchmark::DoNotOptimize(::write(line.near.get(), command.data(), command.size()));
        benchmark::DoNotOptimize(readArrived(line.far.get(), command.size()));
    }
}
BENCHMARK(barePseudoTerminalWrite)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(9)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace setip
