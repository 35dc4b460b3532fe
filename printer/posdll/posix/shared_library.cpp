#include "printer/posdll/shared_library.h"

#include "common/unique_resource.h"

#include <dlfcn.h>

namespace setip::posdll {
namespace {

class DynamicLibrary final : public SharedLibrary {
public:
    explicit DynamicLibrary(void* handle) : handle_(handle) {}

    AnyFunction find(const char* name) const override {
        return reinterpret_cast<AnyFunction>(::dlsym(handle_.get(), name));
    }

private:
    UniqueResource<PointerHandleTraits<void*, ::dlclose>> handle_;
};

}  // namespace

std::unique_ptr<SharedLibrary> loadSharedLibrary(const std::string& fileName) {
    // Every entry resolved now and kept to this library, so a broken one fails here and not at a press.
    void* handle = ::dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = ::dlerror();
        throw BindFailure("cannot load the printer library " + fileName + ": " + (reason ? reason : "unknown error"));
    }
    return std::make_unique<DynamicLibrary>(handle);
}

}  // namespace setip::posdll
