#include "printer/set_address_command.h"
#include "tests/native/loopback_peer.h"
#include "tests/ports/pseudo_terminal.h"

#include <benchmark/benchmark.h>

#include <sys/socket.h>

namespace setip {
namespace {

// Off loopback, so that the virtual printer stays where it is; only the command carries this address.
const Text newAddress = u"192.168.123.100";

// A whole press over loopback TCP to the virtual printer: open, StartDoc, the 11 bytes, EndDoc and the orderly close.
void pressOverLoopback(benchmark::State& state) {
    testing_support::LoopbackPrinter printer;
    testing_support::Press press;
    bool allSent = true;
    for (auto _ : state) allSent = press(printer.address(), newAddress).sent() && allSent;
    if (!allSent) state.SkipWithError("a press failed");
}
BENCHMARK(pressOverLoopback)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

// The baseline for the press: the same exchange with the same printer on a bare blocking socket, with no library,
// no parsing and no deadlines, so the ratio shows what the press itself costs.
void bareSocketExchange(benchmark::State& state) {
    testing_support::LoopbackPrinter printer;
    const sockaddr_in target = testing_support::socketAddress(printer.address());
    const SetAddressCommand command = setAddressCommand(parseNewAddress(newAddress));
    for (auto _ : state) {
        const UniqueFd socket{::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)};
        ::connect(socket.get(), reinterpret_cast<const sockaddr*>(&target), sizeof target);
        ::send(socket.get(), command.data(), command.size(), MSG_NOSIGNAL);
        ::shutdown(socket.get(), SHUT_WR);
        std::uint8_t ignored;
        benchmark::DoNotOptimize(::recv(socket.get(), &ignored, 1, 0));
    }
}
BENCHMARK(bareSocketExchange)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

// A whole press on a serial line at 115200 baud: open with the line settings, StartDoc, the 11 bytes, EndDoc with
// its drain, and the close. Reading the far side empty each time keeps its buffer from filling.
void pressOverPseudoTerminal(benchmark::State& state) {
    const testing_support::PseudoTerminal line;
    testing_support::Press press;
    const PressRequest inputs{u"COM:" + fromUtf8(line.path), u"", u"", u"115200", u"127.0.0.9"};
    for (auto _ : state) {
        press(inputs);
        if (testing_support::readArrived(line.far.get(), 11).size() != 11) {
            state.SkipWithError("the press did not deliver the command");
        }
    }
}
BENCHMARK(pressOverPseudoTerminal)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(9)
    ->ReportAggregatesOnly(true);

// The baseline: the same 11 bytes written straight to the open line and read at the far side, with no library.
// None of them is one that the line's output processing changes.
void barePseudoTerminalWrite(benchmark::State& state) {
    const testing_support::PseudoTerminal line;
    const SetAddressCommand command = setAddressCommand(parseNewAddress(u"127.0.0.9"));
    for (auto _ : state) {
        benchmark::DoNotOptimize(::write(line.near.get(), command.data(), command.size()));
        benchmark::DoNotOptimize(testing_support::readArrived(line.far.get(), command.size()));
    }
}
BENCHMARK(barePseudoTerminalWrite)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(9)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace setip
