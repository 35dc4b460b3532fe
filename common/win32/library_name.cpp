#include "common/library_name.h"

#include <windows.h>

namespace setip {

// The ANSI code page, as the printer library expects. A character the code page lacks becomes its default
// character ("?"), as the system's own conversion does.
std::string toLibraryName(TextView name) {
    if (name.empty()) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(name.data());
    const int length = static_cast<int>(name.size());
    const int size = ::WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string converted(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide, length, converted.data(), size, nullptr, nullptr);
    return converted;
}

}  // namespace setip
