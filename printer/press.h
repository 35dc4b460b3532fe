#pragma once

#include "common/text.h"
#include "printer/library.h"
#include "printer/window_inputs.h"

#include <cstdint>
#include <optional>
#include <ostream>

namespace setip {

// How the press tells the operator what it does: that it is busy, and when something went wrong, a modal message
// with the critical icon and one OK button.
class OperatorMessages {
public:
    virtual ~OperatorMessages() = default;
    virtual void showError(TextView title, TextView text) = 0;
    // A press may wait seconds on a printer. It shows itself busy around its library calls and idle again before
    // any message and at its end; a front end draws that, as the wait cursor.
    virtual void showBusy() {}
    virtual void showIdle() {}
};

inline constexpr TextView errorTitle = u"error";
inline constexpr TextView openFailedText = u"Fail to open port,please check!";
inline constexpr TextView sendFailedText = u"Fail to send command,please check!";
inline constexpr TextView invalidAddressText =
    u"Invalid IP address,please check!\r\nThe correct format is 255.255.255.255";

// One press of "Set IP": parse the new address, open the chosen port, send the set-address command and close the
// port. A malformed address or a port that will not open is shown to the operator and nothing is sent. A send
// that a library able to tell says failed is shown once the port is closed. The reason for either, when known,
// goes to `diagnostics` as one line; so does an unexpected exception, which is shown as the failure of the step
// it came from.
// Gives the handle POS_Open returned, or nothing when the press stopped before opening a port.
std::optional<std::int32_t> pressSetIp(const WindowInputs& inputs, PrinterLibrary& library,
                                       OperatorMessages& messages, std::ostream& diagnostics);

}  // namespace setip
