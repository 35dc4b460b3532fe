#include "printer/posdll/shared_library.h"

#include "printer/native/win32/system_failure.h"
#include "printer/native/win32/wide_text.h"

#include <windows.h>

namespace setip::posdll {
namespace {

class DynamicLibrary final : public SharedLibrary {
public:
    explicit DynamicLibrary(HMODULE module) : module_(module) {}
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;
    ~DynamicLibrary() override { ::FreeLibrary(module_); }

    AnyFunction find(const char* name) const override {
        return reinterpret_cast<AnyFunction>(::GetProcAddress(module_, name));
    }

private:
    HMODULE module_;
};

}  // namespace

// A bare name is looked for only beside the executable and in the system folder, never in the current folder or
// on PATH, so a planted DLL cannot get in. A full path is taken as it is, its own dependencies from its folder.
std::unique_ptr<SharedLibrary> loadSharedLibrary(const std::string& fileName) {
    const std::wstring wide = native::wideFromUtf8(fileName);
    const bool bare = wide.find_first_of(L"\\/:") == std::wstring::npos;
    const DWORD search = bare ? LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32
                              : LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32;
    HMODULE module = ::LoadLibraryExW(wide.c_str(), nullptr, search);
    if (module == nullptr) {
        const DWORD error = ::GetLastError();
        throw BindFailure("cannot load the printer library " + fileName + ": " + native::systemErrorText(error) +
                          " (error " + std::to_string(error) + ")");
    }
    return std::make_unique<DynamicLibrary>(module);
}

}  // namespace setip::posdll
