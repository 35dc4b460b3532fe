#pragma once

#include "printer/library.h"

#include <memory>
#include <string>

namespace setip::posdll {

// Selects a vendor printer library by file name: loads it and makes sure it has all five entries, each of which is
// then bound by name on its first call. Throws BindFailure naming the file or the missing entry, so a broken
// library is refused here and never fails at a press.
std::unique_ptr<PrinterLibrary> bindVendorLibrary(const std::string& fileName);

}  // namespace setip::posdll
