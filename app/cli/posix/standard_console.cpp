#include "app/cli/standard_console.h"

#include <unistd.h>

#include <iostream>

namespace setip::cli {

struct StandardConsole::Streams {};

StandardConsole::StandardConsole()
    : streams_(std::make_unique<Streams>()),
      console_(std::make_unique<Console>(Console{std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1})) {}

StandardConsole::~StandardConsole() {
    std::cout.flush();
    std::cerr.flush();
}

std::vector<std::string> argumentsOf(int argc, char** argv) { return {argv + std::min(argc, 1), argv + argc}; }

}  // namespace setip::cli
