#include "printer/native/native_library.h"
#include "printer/native/posix/unique_fd.h"
#include "printer/press.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <string>

namespace setip {
namespace {

class PressMustSucceed final : public OperatorMessages {
public:
    void showError(TextView, TextView) override { std::abort(); }
};

// A pseudo-terminal standing in for a serial printer; the far side is read empty after every press so that its
// buffer never fills.
struct SerialLine {
    native::UniqueFd far;
    native::UniqueFd near;
    std::string path;

    SerialLine() {
        int farFd = -1;
        int nearFd = -1;
        char name[256] = {};
        if (::openpty(&farFd, &nearFd, name, nullptr, nullptr) != 0) std::abort();
        far.reset(farFd);
        near.reset(nearFd);
        path = name;
        ::fcntl(far.get(), F_SETFL, ::fcntl(far.get(), F_GETFL) | O_NONBLOCK);
    }

    void drain() const {
        std::uint8_t buffer[256];
        while (::read(far.get(), buffer, sizeof buffer) > 0) {}
    }
};

// A whole press on a serial line at 115200 baud: open with the line settings, StartDoc, the 11 bytes, EndDoc with
// its drain, and the close.
void pressOverPseudoTerminal(benchmark::State& state) {
    const SerialLine line;
    native::NativeLibrary library;
    PressMustSucceed messages;
    std::ostringstream diagnostics;
    const WindowInputs inputs{u"COM:" + fromUtf8(line.path), u"", u"", u"115200", u"127.0.0.9"};
    for (auto _ : state) {
        benchmark::DoNotOptimize(pressSetIp(inputs, library, messages, diagnostics));
        line.drain();
    }
}
BENCHMARK(pressOverPseudoTerminal)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(9)
    ->ReportAggregatesOnly(true);

// The baseline: open the line, set it raw at 115200, write the 11 bytes and close, with no library around it.
void barePseudoTerminalWrite(benchmark::State& state) {
    const SerialLine line;
    const std::uint8_t command[11] = {0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 127, 0, 0, 9};
    for (auto _ : state) {
        const native::UniqueFd fd{::open(line.path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC)};
        termios settings{};
        ::tcgetattr(fd.get(), &settings);
        ::cfmakeraw(&settings);
        ::cfsetspeed(&settings, B115200);
        ::tcsetattr(fd.get(), TCSANOW, &settings);
        benchmark::DoNotOptimize(::write(fd.get(), command, sizeof command));
        line.drain();
    }
}
BENCHMARK(barePseudoTerminalWrite)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(9)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace setip
