#include "common/system_error.h"

#include "common/unique_resource.h"
#include "common/win32/wide_text.h"

#include <windows.h>

namespace setip {

SystemError lastSystemError() { return ::GetLastError(); }

std::string systemErrorText(SystemError error) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
        0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const UniqueResource<PointerHandleTraits<HLOCAL, ::LocalFree>> owned{buffer};
    if (length == 0) return "unknown error";
    std::wstring_view text{buffer, length};
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' ||
                             text.back() == L'.')) {
        text.remove_suffix(1);
    }
    return utf8FromWide(text);
}

std::string systemErrorReason(SystemError error) {
    return systemErrorText(error) + " (error " + std::to_string(error) + ")";
}

}  // namespace setip
