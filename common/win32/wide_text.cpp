#include "common/win32/wide_text.h"

#include <windows.h>

namespace setip {
namespace {

std::wstring wideFrom(UINT codePage, std::string_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int size = ::MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    if (size <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), size);
    return wide;
}

std::string narrowFrom(UINT codePage, std::wstring_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int size = ::WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string narrow(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), length, narrow.data(), size, nullptr, nullptr);
    return narrow;
}

}  // namespace

std::wstring wideFromAnsi(std::string_view text) { return wideFrom(CP_ACP, text); }
std::wstring wideFromUtf8(std::string_view text) { return wideFrom(CP_UTF8, text); }
std::string ansiFromWide(std::wstring_view text) { return narrowFrom(CP_ACP, text); }
std::string utf8FromWide(std::wstring_view text) { return narrowFrom(CP_UTF8, text); }

}  // namespace setip
