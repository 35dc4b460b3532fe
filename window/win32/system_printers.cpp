#include "window/installed_printers.h"

#include <windows.h>
#include <winspool.h>

namespace setip {

// The local printers and the connections to shared ones, in the spooler's own order. A spooler that is not
// running lists nothing.
std::vector<Text> systemPrinterNames() {
    constexpr DWORD which = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0;
    DWORD count = 0;
    ::EnumPrintersW(which, nullptr, 4, nullptr, 0, &needed, &count);
    std::vector<Text> names;
    if (needed == 0) return names;
    // PRINTER_INFO_4W holds pointers, so the buffer is of them to keep its alignment.
    std::vector<PRINTER_INFO_4W> buffer(needed / sizeof(PRINTER_INFO_4W) + 1);
    if (!::EnumPrintersW(which, nullptr, 4, reinterpret_cast<BYTE*>(buffer.data()),
                         static_cast<DWORD>(buffer.size() * sizeof(PRINTER_INFO_4W)), &needed, &count)) {
        return names;
    }
    for (DWORD index = 0; index < count; ++index) {
        const wchar_t* name = buffer[index].pPrinterName;
        names.emplace_back(reinterpret_cast<const char16_t*>(name));
    }
    return names;
}

}  // namespace setip
