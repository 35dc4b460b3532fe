#include "printer/press.h"

#include "common/error.h"
#include "printer/port.h"
#include "printer/set_address_command.h"

#include <exception>
#include <string>
#include <utility>

namespace setip {
namespace {

// The operator sees the press busy from construction until done(), or the end of the scope.
class Busy {
public:
    explicit Busy(OperatorMessages& messages) : messages_(messages) { messages_.showBusy(); }
    ~Busy() { done(); }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

    void done() {
        if (std::exchange(busy_, false)) messages_.showIdle();
    }

private:
    OperatorMessages& messages_;
    bool busy_ = true;
};

// Tells the operator, after the press stopped showing itself busy; the reason, when there is one, goes on one line.
void tell(Busy& busy, OperatorMessages& messages, TextView text, const std::string& reason,
          std::ostream& diagnostics) {
    busy.done();
    if (!reason.empty()) diagnostics << "setip: " << reason << '\n' << std::flush;
    messages.showError(errorTitle, text);
}

// StartDoc, the command and EndDoc, then the close, which follows whatever came before. Gives why the send failed
// when the library says it did, else nothing.
std::string send(PrinterLibrary& library, std::int32_t handle, const SetAddressCommand& command) {
    const auto count = static_cast<std::int32_t>(command.size());
    std::string failure;
    // The first failure counts: what fails after it often fails only because of it.
    const auto check = [&](bool succeeded, const char* call) {
        if (succeeded || !failure.empty() || !library.reportsResults()) return;
        failure = library.failureReason();
        if (failure.empty()) failure = std::string{call} + " failed and the library gave no reason";
    };
    check(library.POS_StartDoc() >= 0, "POS_StartDoc");
    check(library.POS_WriteFile(handle, command.data(), count) == count, "POS_WriteFile");
    check(library.POS_EndDoc() >= 0, "POS_EndDoc");
    ClosePort(library);
    return failure;
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

    Busy busy{messages};
    std::int32_t handle = failedHandle;
    std::string reason;
    try {
        handle = OpenPort(library, inputs.combo1, inputs, reason);
        // The library's reason is read only when it was asked this time, so it never repeats an earlier press's.
        if (handle == failedHandle && reason.empty()) reason = library.failureReason();
    } catch (const std::exception& unexpected) {
        handle = failedHandle;
        reason = unexpected.what();
    }
    if (handle == failedHandle) {
        tell(busy, messages, openFailedText, reason, diagnostics);
        return handle;
    }

    std::string failure;
    try {
        failure = send(library, handle, command);
    } catch (const std::exception& unexpected) {
        failure = unexpected.what();
        try {
            ClosePort(library);
        } catch (const std::exception&) {
            // The first exception is the one to tell.
        }
    }
    if (!failure.empty()) tell(busy, messages, sendFailedText, failure, diagnostics);
    return handle;
}

}  // namespace setip
