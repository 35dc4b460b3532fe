#include "printer/posdll/shared_library.h"

#include "common/system_error.h"
#include "common/unique_resource.h"
#include "common/win32/wide_text.h"

#include <windows.h>

namespace setip::posdll {
namespace {

class DynamicLibrary final : public SharedLibrary {
public:
    explicit DynamicLibrary(HMODULE module) : module_(module) {}

    AnyFunction find(const char* name) const override {
        return reinterpret_cast<AnyFunction>(::GetProcAddress(module_.get(), name));
    }

private:
    UniqueResource<PointerHandleTraits<HMODULE, ::FreeLibrary>> module_;
};

}  // namespace

// A bare name is looked for only beside the executable and in the system folder, never in the current folder or
// on PATH, so a planted DLL cannot get in. A full path is taken as it is, its own dependencies from its folder.
std::unique_ptr<SharedLibrary> loadSharedLibrary(const std::string& fileName) {
    const std::wstring wide = wideFromUtf8(fileName);
    const bool bare = wide.find_first_of(L"\\/:") == std::wstring::npos;
    const DWORD search = bare ? LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32
                              : LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32;
    HMODULE module = ::LoadLibraryExW(wide.c_str(), nullptr, search);
    if (module == nullptr) {
        const DWORD error = ::GetLastError();
        throw BindFailure("cannot load the printer library " + fileName + ": " + systemErrorReason(error));
    }
    return std::make_unique<DynamicLibrary>(module);
}

}  // namespace setip::posdll
