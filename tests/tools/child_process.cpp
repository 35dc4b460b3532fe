#include "tests/tools/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace setip::testing_support {

ChildProcess::ChildProcess(const std::vector<std::string>& arguments) {
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0) throw std::system_error(errno, std::generic_category(), "pipe2");
    stdout_.reset(pipe[0]);
    const UniqueFd writeEnd{pipe[1]};

    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, writeEnd.get(), 1);
    std::vector<char*> argv;
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const int status = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (status != 0) throw std::system_error(status, std::generic_category(), "posix_spawn " + arguments[0]);
    reader_ = std::jthread{[this] {
        char buffer[4096];
        for (ssize_t count; (count = ::read(stdout_.get(), buffer, sizeof buffer)) > 0;) {
            const std::lock_guard lock{mutex_};
            output_.append(buffer, static_cast<std::size_t>(count));
            arrived_.notify_all();
        }
        const std::lock_guard lock{mutex_};
        ended_ = true;
        arrived_.notify_all();
    }};
}

ChildProcess::~ChildProcess() {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
}

bool ChildProcess::waitForLine(const std::string& text, Deadline deadline) {
    std::unique_lock lock{mutex_};
    const auto found = [&] { return output_.find(text, searchedUpTo_); };
    arrived_.wait_until(lock, deadline, [&] { return found() != std::string::npos || ended_; });
    const std::size_t at = found();
    if (at == std::string::npos) return false;
    searchedUpTo_ = std::min(output_.find('\n', at), output_.size() - 1) + 1;
    return true;
}

std::string ChildProcess::output() {
    const std::lock_guard lock{mutex_};
    return output_;
}

}  // namespace setip::testing_support
