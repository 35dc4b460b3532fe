#pragma once

#include "common/deadline.h"

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace setip::testing_support {

// A program run by a test, its standard output and error going to a file so that the program never blocks on them.
// Stopped (SIGTERM) when the test is done with it.
class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits until `done` holds for everything written so far; false when the wait runs out or the program ends first.
    bool waitUntil(const std::function<bool(const std::string& output)>& done, std::chrono::milliseconds wait);
    // Whether the program has ended (and was reaped, so its pid is never signalled again).
    bool ended();
    // Everything written so far.
    std::string output() const;

private:
    std::string outputPath_;
    pid_t pid_ = -1;
    bool reaped_ = false;
};

}  // namespace setip::testing_support
