// Cold start of the window under Xvfb: from starting the program to its window's first paint, and the peak
// resident memory of that process. Each repetition starts a new process; compare the medians with "bare", an
// empty Qt window started the same way in the same run.
//   build/default/tests/qt/setip_startup_benchmark --benchmark_repetitions=21 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int deadlineMilliseconds = 10000;

pid_t spawn(const std::vector<std::string>& arguments, const std::vector<std::string>& extraEnvironment,
            const posix_spawn_file_actions_t* actions) {
    std::vector<char*> argv;
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<std::string> environment(extraEnvironment);
    for (char** variable = environ; *variable != nullptr; ++variable) environment.emplace_back(*variable);
    std::vector<char*> envp;
    for (auto& variable : environment) envp.push_back(variable.data());
    envp.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), envp.data()) != 0) {
        throw std::runtime_error("cannot start " + arguments[0]);
    }
    return pid;
}

bool readOne(int fd) {
    pollfd watched{fd, POLLIN, 0};
    char byte = 0;
    return ::poll(&watched, 1, deadlineMilliseconds) == 1 && ::read(fd, &byte, 1) == 1;
}

// An Xvfb of the benchmark's own, on a display it picks itself.
class Xvfb {
public:
    Xvfb() : runtime_(std::filesystem::temp_directory_path() / ("setip-bench-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(runtime_);
        std::filesystem::permissions(runtime_, std::filesystem::perms::owner_all);
        int ready[2];
        if (::pipe2(ready, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, ready[1], 3);
        pid_ = spawn({"Xvfb", "-displayfd", "3", "-screen", "0", "800x600x24", "-nolisten", "tcp"}, {}, &actions);
        posix_spawn_file_actions_destroy(&actions);
        ::close(ready[1]);
        char number[16] = {};
        pollfd watched{ready[0], POLLIN, 0};
        const bool started = ::poll(&watched, 1, deadlineMilliseconds) == 1 && ::read(ready[0], number, 15) > 0;
        ::close(ready[0]);
        if (!started) throw std::runtime_error("Xvfb (package xvfb) did not start");
        display_ = ":" + std::string{number, std::strcspn(number, "\n")};
    }
    ~Xvfb() {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
        std::filesystem::remove_all(runtime_);
    }
    Xvfb(const Xvfb&) = delete;
    Xvfb& operator=(const Xvfb&) = delete;

    std::vector<std::string> environment() const {
        return {"DISPLAY=" + display_, "XDG_RUNTIME_DIR=" + runtime_.string(), "QT_QPA_PLATFORM=xcb"};
    }

private:
    std::filesystem::path runtime_;
    pid_t pid_ = -1;
    std::string display_;
};

Xvfb* server = nullptr;

void StartUpToFirstPaint(benchmark::State& state, const char* mode) {
    double peakKilobytes = 0;
    for (auto _ : state) {
        int shown[2];
        if (::pipe2(shown, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, shown[1], 3);
        auto environment = server->environment();
        environment.emplace_back("SETIP_PROBE_FD=3");
        const auto start = std::chrono::steady_clock::now();
        const pid_t pid = spawn({SETIP_STARTUP_PROBE, mode}, environment, &actions);
        ::close(shown[1]);
        const bool painted = readOne(shown[0]);
        const auto end = std::chrono::steady_clock::now();
        ::close(shown[0]);
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        rusage usage{};
        ::wait4(pid, &status, 0, &usage);
        if (!painted || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the window was not shown");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        peakKilobytes += static_cast<double>(usage.ru_maxrss);
    }
    state.counters["peak_rss_MB"] =
        benchmark::Counter(peakKilobytes / 1024.0 / static_cast<double>(state.iterations()));
}

BENCHMARK_CAPTURE(StartUpToFirstPaint, bare, "bare")->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StartUpToFirstPaint, setip, "setip")->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Xvfb display;
    server = &display;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
