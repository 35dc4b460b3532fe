#pragma once

#include "app/cli/command_line.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace setip::cli {

// One line of progress on the console's error stream, redrawn in place, and only when that stream is a terminal: a
// script or a log gets none of it. Cleared when done or destroyed, so the next message starts on a clean line.
class Progress {
public:
    explicit Progress(Console& console) : console_(console) {}
    ~Progress() { clear(); }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void show(std::string_view line);
    void clear();

    // A bar of `width` cells, `done` of `total` of them filled: "[#####     ]".
    static std::string bar(std::size_t done, std::size_t total, std::size_t width = 30);

private:
    Console& console_;
    std::size_t shown_ = 0;  // the length of the line on the terminal, to blank out what a shorter one leaves
};

}  // namespace setip::cli
