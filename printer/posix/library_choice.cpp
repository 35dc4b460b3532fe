#include "printer/library_choice.h"

#include "printer/builtin/builtin_library.h"

namespace setip {

// There is no vendor library for Linux, so there is nothing to choose between.
std::unique_ptr<PrinterLibrary> choosePrinterLibrary(std::ostream&) { return std::make_unique<builtin::BuiltinLibrary>(); }

}  // namespace setip
