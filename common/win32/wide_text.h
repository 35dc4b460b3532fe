#pragma once

#include <string>
#include <string_view>

namespace setip {

// 8-bit text as the system's wide calls take it: from the ANSI code page (a name as the printer library takes
// it), or from UTF-8 (a file name or a failure reason kept as UTF-8).
std::wstring wideFromAnsi(std::string_view text);
std::wstring wideFromUtf8(std::string_view text);

// The system's wide text in 8 bits. In the ANSI code page a character the code page lacks becomes its likeness
// there, or else the default character ("?"), as the system's own conversion does.
std::string ansiFromWide(std::wstring_view text);
std::string utf8FromWide(std::wstring_view text);

}  // namespace setip
