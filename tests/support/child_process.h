#pragma once

#include "common/deadline.h"

#include <sys/types.h>

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

    // Waits for a line containing `text` after the last one found; false when the deadline passes or the program
    // ends first.
    bool waitForLine(const std::string& text, Deadline deadline);
    // Whether the program has ended (and was reaped, so its pid is never signalled again).
    bool ended();
    // Everything written so far.
    std::string output() const;

private:
    std::string outputPath_;
    pid_t pid_ = -1;
    bool reaped_ = false;
    std::size_t searchedUpTo_ = 0;
};

}  // namespace setip::testing_support
