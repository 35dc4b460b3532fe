#include "printer/press.h"

#include "common/error.h"
#include "printer/port.h"
#include "printer/port_kind.h"
#include "printer/set_address_command.h"

namespace setip {
namespace {

void reportOpenFailure(const WindowInputs& inputs, const PrinterLibrary& library, std::ostream& diagnostics) {
    if (!portKindOf(inputs.combo1)) {
        diagnostics << "setip: \"" << toUtf8(inputs.combo1)
                    << "\" names no port; it must start with ETH, COM, LPT or DRI\n";
    } else if (const auto reason = library.failureReason(); !reason.empty()) {
        diagnostics << "setip: " << reason << '\n';
    }
    diagnostics.flush();
}

}  // namespace

std::optional<std::int32_t> pressSetIp(const WindowInputs& inputs, PrinterLibrary& library,
                                       OperatorMessages& messages, std::ostream& diagnostics) {
    SetAddressCommand command;
    try {
        command = setAddressCommand(parseNewAddress(inputs.text2));
    } catch (const Error&) {
        messages.showError(errorTitle, invalidAddressText);
        return std::nullopt;
    }

    const std::int32_t handle = OpenPort(library, inputs.combo1, inputs);
    if (handle == failedHandle) {
        reportOpenFailure(inputs, library, diagnostics);
        messages.showError(errorTitle, openFailedText);
        return handle;
    }
    // What the library answers from here on is not read: the printer gives no reply to this command.
    library.POS_StartDoc();
    library.POS_WriteFile(handle, command.data(), static_cast<std::int32_t>(command.size()));
    library.POS_EndDoc();
    ClosePort(library);
    return handle;
}

}  // namespace setip
