#pragma once

#include "printer/printer_library.h"

#include <memory>
#include <ostream>

namespace setip {

// The printer library the presses go through, chosen once at start-up. On Linux it is always the built-in one;
// where a vendor library can stand in, a vendor library that cannot be used is told to `diagnostics`.
std::unique_ptr<PrinterLibrary> choosePrinterLibrary(std::ostream& diagnostics);

}  // namespace setip
