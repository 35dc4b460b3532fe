#include "printer/native/native_library.h"
#include "printer/press.h"
#include "printer/set_address_command.h"
#include "tests/native/loopback_peer.h"
#include "tests/support/recording_library.h"

#include <benchmark/benchmark.h>

#include <sys/socket.h>

#include <sstream>

namespace setip {
namespace {

// Off loopback, so that the virtual printer stays where it is; only the command carries this address.
const Text newAddress = u"192.168.123.100";

// A whole press over loopback TCP to the virtual printer: open, StartDoc, the 11 bytes, EndDoc and the orderly close.
void pressOverLoopback(benchmark::State& state) {
    testing_support::LoopbackPrinter printer;
    native::NativeLibrary library;
    testing_support::RecordingMessages messages;
    std::ostringstream diagnostics;
    const WindowInputs inputs{u"ETHERNET", fromUtf8(printer.address()), u"", u"19200", newAddress};
    for (auto _ : state) benchmark::DoNotOptimize(pressSetIp(inputs, library, messages, diagnostics));
    if (!messages.shown.empty()) state.SkipWithError("a press failed");
}
BENCHMARK(pressOverLoopback)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

// POS_Open against a printer that never answers: it gives up at the connect deadline.
void openAgainstFullBacklog(benchmark::State& state) {
    const testing_support::FullBacklog silent;
    native::NativeLibrary library;
    const std::string name = silent.address();
    for (auto _ : state) benchmark::DoNotOptimize(library.POS_Open(name.c_str(), 0, 0, 0, 0, 21));
}
BENCHMARK(openAgainstFullBacklog)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->UseRealTime()
    ->ReportAggregatesOnly(true);

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

}  // namespace
}  // namespace setip
