#pragma once

#include "printer/printer_library.h"

#include <memory>
#include <string>

namespace setip::vendor {

// Binds a vendor printer library by file name: loads it (library_search.h) and makes sure it has all five entries,
// POS_Open, POS_StartDoc, POS_WriteFile, POS_EndDoc and POS_Close, each of which is then bound by name on its first
// call. The binding alone speaks the vendor's C: it narrows each name to the ANSI code page, gives each port kind
// the library's open mode, and reads no result but POS_Open's -1, because what the others give back is not
// documented. Throws PrinterFailure naming the file or the missing entry, so that a broken library is refused here
// and never fails at a press.
std::unique_ptr<PrinterLibrary> bindVendorLibrary(const std::wstring& fileName);

}  // namespace setip::vendor
