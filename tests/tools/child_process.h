#pragma once

#include "common/deadline.h"
#include "common/posix/unique_fd.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace setip::testing_support {

// A program run by a test, its standard output read line by line. Killed when the test is done with it.
class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Reads until a line containing `text` arrives; false when the deadline passes or the output ends first.
    bool waitForLine(const std::string& text, Deadline deadline);
    // Everything read so far, for failure messages.
    const std::string& output() const { return output_; }

private:
    pid_t pid_ = -1;
    UniqueFd stdout_;
    std::string output_;
    std::size_t searchedUpTo_ = 0;
};

}  // namespace setip::testing_support
