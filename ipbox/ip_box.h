#pragma once

#include "common/error.h"
#include "common/text.h"
#include "ipbox/handles.h"
#include "ipbox/platform_operations.h"
#include "ipbox/user_control.h"

#include <cstdint>

namespace setip {

// The number of the control's own error: the address text has fewer than three dots.
inline constexpr int addressFormatErrorNumber = 102;

// The IP address box: a user control covered by a four-field address field, offering the address as dotted text.
// Errors are setip::Error: 102 (too few dots), and 6, 13, 9 and 5 passed on from the conversions unhandled.
// The host and the platform must outlive the control.
class ipBox {
public:
    ipBox(UserControl& host, PlatformOperations& platform);

    // How many bytes of lzExpr's UTF-16LE form equal the ANSI code of nChar's first character (see ansi_code.h).
    // Raises 5 when nChar is empty and lzExpr is not, and 6 when lzExpr has 16,384 characters or more.
    std::int16_t CountIF(const Text& lzExpr, const Text& nChar) const;

    // Creates a new address field over the whole control and drives it from then on. An earlier field stays.
    void CreateTextBox();

    // The field's address as dotted text; 0.0.0.0 when there is no field.
    Text Address() const;
    // Checks and converts the text and loads it into the field. On an error the field keeps its value.
    void Address(Text NewIP);

    // The host raises these: initialise once on creation, resize on every change of its inner size.
    void UserControl_Initialize();
    void UserControl_Resize();

private:
    Text ReadAddress() const;

    UserControl& host_;
    PlatformOperations& platform_;
    WindowHandle hTextBox = 0;
};

}  // namespace setip
