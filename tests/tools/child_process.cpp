#include "tests/tools/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

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
}

ChildProcess::~ChildProcess() {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
}

bool ChildProcess::waitForLine(const std::string& text, Deadline deadline) {
    for (;;) {
        const auto found = output_.find(text, searchedUpTo_);
        if (found != std::string::npos) {
            searchedUpTo_ = output_.find('\n', found);
            searchedUpTo_ = searchedUpTo_ == std::string::npos ? output_.size() : searchedUpTo_ + 1;
            return true;
        }
        pollfd entry{stdout_.get(), POLLIN, 0};
        if (::poll(&entry, 1, millisecondsLeft(deadline)) <= 0) return false;
        char buffer[1024];
        const ssize_t count = ::read(stdout_.get(), buffer, sizeof buffer);
        if (count <= 0) return false;
        output_.append(buffer, static_cast<std::size_t>(count));
    }
}

}  // namespace setip::testing_support
