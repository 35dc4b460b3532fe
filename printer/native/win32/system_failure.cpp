#include "printer/native/win32/system_failure.h"

#include "printer/native/win32/wide_text.h"

#include <windows.h>

#include <memory>

namespace setip::native {

std::string systemErrorText(unsigned long error) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
        0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const std::unique_ptr<wchar_t, decltype(&::LocalFree)> owned{buffer, &::LocalFree};
    if (length == 0) return "unknown error";
    std::wstring_view text{buffer, length};
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' ||
                             text.back() == L'.')) {
        text.remove_suffix(1);
    }
    return utf8FromWide(text);
}

PortFailure systemFailure(std::string_view action, std::string_view name, unsigned long error) {
    std::string text{"cannot "};
    text.append(action).append(" ").append(name).append(": ").append(systemErrorText(error));
    text.append(" (error ").append(std::to_string(error)).append(")");
    return PortFailure(text);
}

}  // namespace setip::native
