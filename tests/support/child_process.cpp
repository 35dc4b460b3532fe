#include "tests/support/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <thread>

namespace setip::testing_support {

ChildProcess::ChildProcess(const std::vector<std::string>& arguments)
    : outputPath_((std::filesystem::temp_directory_path() / "setip-child.XXXXXX").string()) {
    const int file = ::mkstemp(outputPath_.data());
    if (file < 0) throw std::system_error(errno, std::generic_category(), "mkstemp");
    ::close(file);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, 1, outputPath_.c_str(), O_WRONLY | O_APPEND, 0);
    ::posix_spawn_file_actions_adddup2(&actions, 1, 2);
    std::vector<char*> argv;
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const int status = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (status != 0) throw std::system_error(status, std::generic_category(), "posix_spawn " + arguments[0]);
}

ChildProcess::~ChildProcess() {
    if (!reaped_) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    std::filesystem::remove(outputPath_);
}

bool ChildProcess::waitUntil(const std::function<bool(const std::string&)>& done, std::chrono::milliseconds wait) {
    for (const Deadline deadline = deadlineAfter(wait);; std::this_thread::sleep_for(std::chrono::milliseconds{10})) {
        const bool over = ended();  // what it wrote before it ended is read once more
        if (done(output())) return true;
        if (over || Clock::now() >= deadline) return false;
    }
}

bool ChildProcess::ended() {
    if (!reaped_) reaped_ = ::waitpid(pid_, nullptr, WNOHANG) == pid_;
    return reaped_;
}

std::string ChildProcess::output() const {
    std::ostringstream text;
    text << std::ifstream{outputPath_}.rdbuf();
    return text.str();
}

}  // namespace setip::testing_support
