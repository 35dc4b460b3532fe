#pragma once

#include <ostream>

namespace setip::virtual_printer {

// A receipt printer on a pseudo-terminal, standing in for a serial one. It prints the path to open (as
// "COM:<path>"), then reports what arrives as a session named by that path does (see session.h) and answers a
// status request. Runs until the process ends; gives an exit status only when it cannot make the terminal.
int servePty(std::ostream& report);

}  // namespace setip::virtual_printer
