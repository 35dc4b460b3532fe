#pragma once

#include <string>
#include <string_view>

namespace setip::native {

// A name as the printer library received it (the ANSI code page), as the system's wide calls take it.
std::wstring wideFromAnsi(std::string_view name);

// UTF-8 text, such as a file name kept as UTF-8, as the system's wide calls take it.
std::wstring wideFromUtf8(std::string_view text);

// The system's wide text in UTF-8, as failure reasons are kept.
std::string utf8FromWide(std::wstring_view text);

}  // namespace setip::native
