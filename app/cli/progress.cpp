#include "app/cli/progress.h"

#include <algorithm>

namespace setip::cli {

// Written over with blanks rather than an erase sequence, which the Windows 7 console does not know.
void Progress::show(std::string_view line) {
    if (!console_.errIsTerminal) return;
    console_.err << '\r' << line << std::string(shown_ > line.size() ? shown_ - line.size() : 0, ' ') << std::flush;
    shown_ = line.size();
}

void Progress::clear() {
    if (shown_ == 0) return;
    console_.err << '\r' << std::string(shown_, ' ') << '\r' << std::flush;
    shown_ = 0;
}

std::string Progress::bar(std::size_t done, std::size_t total, std::size_t width) {
    const std::size_t filled = total == 0 ? width : std::min(width, done * width / total);
    std::string drawn(width + 2, ' ');
    drawn.front() = '[';
    drawn.replace(1, filled, filled, '#');
    drawn.back() = ']';
    return drawn;
}

}  // namespace setip::cli
