#include "printer/port.h"

#include "common/error.h"
#include "common/library_name.h"
#include "common/number.h"
#include "printer/port_kind.h"

namespace setip {
std::int32_t OpenPort(PrinterLibrary& library, TextView entry, const WindowInputs& inputs, std::string& refusal) {
    refusal.clear();
    const auto kind = portKindOf(entry);
    if (!kind) {
        refusal = quoted(toUtf8(entry)) + " names no port; it must start with ETH, COM, LPT or DRI";
        return failedHandle;
    }
    const auto mode = static_cast<std::int32_t>(openModeOf(*kind));
    switch (*kind) {
        case PortKind::network:
            return library.POS_Open(toLibraryName(inputs.text1).c_str(), 0, 0, 0, 0, mode);
        case PortKind::serial: {
            std::int32_t baudRate = 0;
            try {
                baudRate = toInteger32(inputs.combo3);
            } catch (const Error&) {
                refusal = quoted(toUtf8(inputs.combo3)) + " is not a number, so it is no baud rate for " + toUtf8(entry);
                return failedHandle;
            }
            return library.POS_Open(toLibraryName(entry).c_str(), baudRate, 8, 0, 0, mode);
        }
        case PortKind::parallel:
            return library.POS_Open(toLibraryName(entry).c_str(), 0, 0, 0, 0, mode);
        case PortKind::driver:
            return library.POS_Open(toLibraryName(inputs.combo2).c_str(), 0, 0, 0, 0, mode);
    }
    return failedHandle;
}

std::int32_t ClosePort(PrinterLibrary& library) { return library.POS_Close(); }

}  // namespace setip
