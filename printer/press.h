#pragma once

#include "common/text.h"
#include "printer/library.h"
#include "printer/window_inputs.h"

#include <cstdint>
#include <optional>
#include <ostream>

namespace setip {

// How the press tells the operator something went wrong: a modal message with the critical icon and one OK button.
class OperatorMessages {
public:
    virtual ~OperatorMessages() = default;
    virtual void showError(TextView title, TextView text) = 0;
};

inline constexpr TextView errorTitle = u"error";
inline constexpr TextView openFailedText = u"Fail to open port,please check!";
inline constexpr TextView invalidAddressText =
    u"Invalid IP address,please check!\r\nThe correct format is 255.255.255.255";

// One press of "Set IP": parse the new address, open the chosen port, send the set-address command and close the
// port. A malformed address or a port that will not open is shown to the operator and nothing is sent; the reason
// a port would not open, when the library knows it, goes to `diagnostics` as one line.
// Gives the handle POS_Open returned, or nothing when the press stopped before opening a port.
std::optional<std::int32_t> pressSetIp(const WindowInputs& inputs, PrinterLibrary& library,
                                       OperatorMessages& messages, std::ostream& diagnostics);

}  // namespace setip
