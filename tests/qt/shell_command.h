#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <sys/wait.h>

namespace setip::testing_support {

struct CommandResult {
    int exitCode = -1;  // -1 when the command did not end normally
    std::string output;  // standard output and standard error together
};

// Runs a shell command line to its end. The commands run here bound their own waits.
inline CommandResult runCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[512];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.output.append(buffer, got);
    const int status = ::pclose(pipe);
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    return result;
}

inline std::string quoted(const std::string& text) { return "'" + text + "'"; }

}  // namespace setip::testing_support
