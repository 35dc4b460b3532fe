#include "printer/library_choice.h"

#include "printer/native/native_library.h"
#include "printer/posdll/vendor_library.h"
#include "printer/posdll/win32/library_search.h"

namespace setip {

// The vendor's library when it is there and has its five entries; the built-in one otherwise. A vendor library
// that is there but refused is told once, so the operator knows which library the presses go through.
std::unique_ptr<PrinterLibrary> choosePrinterLibrary(std::ostream& diagnostics) {
    if (!posdll::installedPathOf(L"POSDLL.dll").empty()) {
        try {
            return posdll::bindVendorLibrary("POSDLL.dll");
        } catch (const posdll::BindFailure& failure) {
            diagnostics << failure.what() << ". setip uses its built-in printer library instead.\n";
        }
    }
    return std::make_unique<native::NativeLibrary>();
}

}  // namespace setip
