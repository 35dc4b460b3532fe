#include "app/cli/command_line.h"

// The command line as a program of its own: setip-cli.exe on Windows, where the window's setip.exe has no console,
// and setip itself on Linux when it is built without its window.
int main(int argc, char** argv) { return setip::cli::commandLineMain(argc, argv); }
