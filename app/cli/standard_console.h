#pragma once

#include "app/cli/command_line.h"

#include <memory>
#include <string>
#include <vector>

namespace setip::cli {

// The process's standard output and error as a command's Console. Text is UTF-8; on Windows a console is written in
// UTF-16, so that any name shows whole whatever its code page, and a redirection gets the UTF-8 bytes. One file for
// each system.
class StandardConsole {
public:
    StandardConsole();
    ~StandardConsole();
    StandardConsole(const StandardConsole&) = delete;
    StandardConsole& operator=(const StandardConsole&) = delete;

    Console& console() { return *console_; }

private:
    struct Streams;  // the system's own
    std::unique_ptr<Streams> streams_;
    std::unique_ptr<Console> console_;
};

// What the program was given after its own name, in UTF-8.
std::vector<std::string> argumentsOf(int argc, char** argv);

}  // namespace setip::cli
