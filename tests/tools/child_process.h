#pragma once

#include "common/deadline.h"
#include "common/posix/unique_fd.h"

#include <condition_variable>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace setip::testing_support {

// A program run by a test, its standard output read as it comes so that the program never blocks on it. Killed
// when the test is done with it.
class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits for a line containing `text` after the last one found; false when the deadline passes or the output
    // ends first.
    bool waitForLine(const std::string& text, Deadline deadline);
    // Everything read so far.
    std::string output();

private:
    pid_t pid_ = -1;
    UniqueFd stdout_;
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::string output_;
    bool ended_ = false;
    std::size_t searchedUpTo_ = 0;
    std::jthread reader_;  // last, so that it is joined before what it fills goes
};

}  // namespace setip::testing_support
