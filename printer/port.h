#pragma once

#include "printer/library.h"
#include "printer/window_inputs.h"

#include <cstdint>
#include <string>

namespace setip {

// Makes at most one POS_Open for the kind the entry names and returns its handle unchanged. An entry that names
// no kind, or a serial entry whose baud rate is not a number, makes no call and gives -1: that port cannot be
// opened, and the operator must be told so. Why it made no call is then in `refusal`, which is empty otherwise.
std::int32_t OpenPort(PrinterLibrary& library, TextView entry, const WindowInputs& inputs, std::string& refusal);

// Closes the library's current port.
std::int32_t ClosePort(PrinterLibrary& library);

}  // namespace setip
