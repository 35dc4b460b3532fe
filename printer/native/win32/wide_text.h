#pragma once

#include <string>
#include <string_view>

namespace setip::native {

// A name as the printer library received it (the ANSI code page), as the system's wide calls take it.
std::wstring wideFromAnsi(std::string_view name);

// The system's wide text in UTF-8, as failure reasons are kept.
std::string utf8FromWide(std::wstring_view text);

}  // namespace setip::native
