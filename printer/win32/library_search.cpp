#include "printer/win32/library_search.h"

#include "common/system_error.h"
#include "common/win32/wide_text.h"
#include "printer/printer_library.h"

namespace setip::vendor {
namespace {

// The folder of the running program, with its separator.
std::wstring programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) return path.substr(0, path.find_last_of(L"\\/", length) + 1);
        path.resize(path.size() * 2);
    }
}

std::wstring systemFolder() {
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring{folder, length} + L"\\" : std::wstring{};
}

bool exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// What LoadLibraryExW is given: the name itself with the search flags, or the full path that the program found.
struct LoadRequest {
    std::wstring name;
    DWORD flags;
};

LoadRequest requestFor(const std::wstring& name, LibrarySearch search) {
    const bool bare = name.find_first_of(L"\\/:") == std::wstring::npos;
    if (search == LibrarySearch::loaderFlags) {
        const DWORD folders = bare ? LOAD_LIBRARY_SEARCH_APPLICATION_DIR : LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR;
        return {name, folders | LOAD_LIBRARY_SEARCH_SYSTEM32};
    }
    // The altered search takes a full path's own folder for its dependencies, not the current folder. A file in
    // neither folder is asked for beside the program, so that the loader's own error says it is missing.
    const std::wstring path = bare ? installedPathOf(name) : name;
    return {path.empty() ? programFolder() + name : path, LOAD_WITH_ALTERED_SEARCH_PATH};
}

}  // namespace

LibrarySearch librarySearchOfSystem() {
    // The update that brought the search flags to Windows 7 also brought AddDllDirectory; kernel32 is always loaded.
    const HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
    const bool flags = kernel32 != nullptr && ::GetProcAddress(kernel32, "AddDllDirectory") != nullptr;
    return flags ? LibrarySearch::loaderFlags : LibrarySearch::fullPath;
}

std::wstring installedPathOf(const std::wstring& fileName) {
    for (const std::wstring& folder : {programFolder(), systemFolder()}) {
        if (!folder.empty() && exists(folder + fileName)) return folder + fileName;
    }
    return {};
}

LoadedLibrary loadLibrary(const std::wstring& fileName, LibrarySearch search) {
    const LoadRequest request = requestFor(fileName, search);
    LoadedLibrary library{::LoadLibraryExW(request.name.c_str(), nullptr, request.flags)};
    if (!library) {
        const DWORD error = ::GetLastError();
        throw PrinterFailure("cannot load the printer library " + utf8FromWide(fileName) + ": " + systemErrorReason(error));
    }
    return library;
}

}  // namespace setip::vendor
