#include "tests/ports/as_nobody.h"

#include "printer/native/posix/unique_fd.h"

#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <stdexcept>

namespace setip::testing_support {
namespace {

constexpr int childBudgetMs = 10000;

std::string dropRoot() {
    if (::geteuid() != 0) return {};
    const passwd* nobody = ::getpwnam("nobody");
    if (nobody == nullptr) return "there is no user nobody";
    if (::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0) {
        return std::string{"cannot become nobody: "} + std::strerror(errno);
    }
    if (::geteuid() == 0) return "still root after setuid";
    return {};
}

void writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written <= 0) return;
        done += static_cast<std::size_t>(written);
    }
}

}  // namespace

std::string runAsNobody(const std::function<std::string()>& work) {
    int ends[2];
    if (::pipe(ends) != 0) throw std::runtime_error(std::string{"pipe: "} + std::strerror(errno));
    native::UniqueFd reader{ends[0]};
    native::UniqueFd writer{ends[1]};

    const pid_t child = ::fork();
    if (child < 0) throw std::runtime_error(std::string{"fork: "} + std::strerror(errno));
    if (child == 0) {
        reader.reset();
        const std::string failure = dropRoot();
        if (!failure.empty()) {
            writeAll(writer.get(), failure);
            ::_exit(1);
        }
        writeAll(writer.get(), work());
        ::_exit(0);
    }
    writer.reset();

    std::string output;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds{childBudgetMs};
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd entry{reader.get(), POLLIN, 0};
        if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) == 0) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            throw std::runtime_error("the child running as nobody did not finish: " + output);
        }
        char buffer[512];
        const ssize_t got = ::read(reader.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        output.append(buffer, static_cast<std::size_t>(got));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error("as nobody: " + output);
    return output;
}

}  // namespace setip::testing_support
