#pragma once

#include "common/text.h"

namespace setip {

// The texts of the window's controls that the printer link reads at the moment of a press.
struct WindowInputs {
    Text combo1;  // port-list entry
    Text text1;   // the printer's present address (network kind)
    Text combo2;  // installed printer queue (driver kind)
    Text combo3;  // baud rate (serial kind)
    Text text2;   // the new address
};

}  // namespace setip
