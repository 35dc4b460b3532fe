// Cold start of the window: from starting the program to its window's first paint, and the peak resident memory
// of that process. Each repetition starts a new process; compare the medians with "bare", an empty Qt window
// started the same way in the same run. Run it on an X server of its own, in one line:
//   scripts/with-xvfb build/default/tests/qt/setip_startup_benchmark --benchmark_repetitions=21
//     --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

namespace {

void StartUpToFirstPaint(benchmark::State& state, const char* mode) {
    double peakMegabytes = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::alarm(10);  // the alarm outlives exec: a probe that has not painted within 10 s is ended
            ::execl(SETIP_STARTUP_PROBE, SETIP_STARTUP_PROBE, mode, nullptr);
            ::_exit(127);
        }
        int status = -1;
        rusage usage{};
        ::wait4(pid, &status, 0, &usage);
        const auto end = std::chrono::steady_clock::now();
        if (status != 0) return state.SkipWithError("the window was not shown: is DISPLAY an X server?");
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        peakMegabytes += static_cast<double>(usage.ru_maxrss) / 1024.0;
    }
    state.counters["peak_rss_MB"] = peakMegabytes / static_cast<double>(state.iterations());
}

BENCHMARK_CAPTURE(StartUpToFirstPaint, bare, "bare")->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StartUpToFirstPaint, setip, "setip")->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
