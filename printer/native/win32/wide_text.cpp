#include "printer/native/win32/wide_text.h"

#include <windows.h>

namespace setip::native {

std::wstring wideFromAnsi(std::string_view name) {
    if (name.empty()) return {};
    const int length = static_cast<int>(name.size());
    const int size = ::MultiByteToWideChar(CP_ACP, 0, name.data(), length, nullptr, 0);
    if (size <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, name.data(), length, wide.data(), size);
    return wide;
}

std::string utf8FromWide(std::wstring_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string utf8(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

}  // namespace setip::native
