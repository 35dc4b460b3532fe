#include "printer/library_choice.h"

#include "printer/native/native_library.h"
#include "printer/posdll/shared_library.h"
#include "printer/posdll/vendor_library.h"

#include <windows.h>

#include <string>

namespace setip {
namespace {

constexpr wchar_t vendorFile[] = L"POSDLL.dll";

bool exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring folderOf(std::wstring path) { return path.substr(0, path.find_last_of(L"\\/") + 1); }

// Only the two places the loader searches: beside the executable, and the system folder.
bool vendorLibraryIsThere() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return false;
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    wchar_t system[MAX_PATH];
    const UINT systemLength = ::GetSystemDirectoryW(system, MAX_PATH);
    return exists(folderOf(path) + vendorFile) ||
           (systemLength > 0 && systemLength < MAX_PATH && exists(std::wstring{system, systemLength} + L"\\" + vendorFile));
}

}  // namespace

// The vendor's library when it is there and has its five entries; the built-in one otherwise. A vendor library
// that is there but refused is told once, so the operator knows which library the presses go through.
std::unique_ptr<PrinterLibrary> choosePrinterLibrary(std::ostream& diagnostics) {
    if (vendorLibraryIsThere()) {
        try {
            return posdll::bindVendorLibrary("POSDLL.dll");
        } catch (const posdll::BindFailure& failure) {
            diagnostics << failure.what() << ". setip uses its built-in printer library instead.\n";
        }
    }
    return std::make_unique<native::NativeLibrary>();
}

}  // namespace setip
