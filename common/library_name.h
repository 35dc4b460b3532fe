#pragma once

#include "common/text.h"

#include <string>

namespace setip {

// A name as the printer library takes it: 8-bit and NUL-terminated. UTF-8 on Linux, the ANSI code page on Windows.
std::string toLibraryName(TextView name);

}  // namespace setip
