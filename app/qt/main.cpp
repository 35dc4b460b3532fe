#include "app/cli/command_line.h"
#include "app/qt/run.h"

// With a command, setip runs in the terminal and needs no display; with none, it opens its window.
int main(int argc, char** argv) {
    return argc > 1 ? setip::cli::commandLineMain(argc, argv) : setip::qt::runSetip(argc, argv);
}
