#include "printer/library_choice.h"

#include "printer/builtin/builtin_library.h"
#include "printer/win32/library_search.h"
#include "printer/win32/vendor_library.h"

namespace setip {

// The vendor's library when it is there and has its five entries; the built-in one otherwise. A vendor library that
// is there but refused is told once, so the operator knows which library the presses go through.
std::unique_ptr<PrinterLibrary> choosePrinterLibrary(std::ostream& diagnostics) {
    if (!vendor::installedPathOf(L"POSDLL.dll").empty()) {
        try {
            return vendor::bindVendorLibrary(L"POSDLL.dll");
        } catch (const PrinterFailure& failure) {
            diagnostics << failure.what() << ". setip uses its built-in printer library instead.\n";
        }
    }
    return std::make_unique<builtin::BuiltinLibrary>();
}

}  // namespace setip
