#pragma once

#include <memory>
#include <stdexcept>
#include <string>

namespace setip::posdll {

// Why a vendor library cannot be used, in words for the operator: the file or entry, and the OS's reason.
class BindFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Any entry of a shared library, before it is cast to its real type.
using AnyFunction = void (*)();

// A shared library loaded by file name, unloaded when this goes.
class SharedLibrary {
public:
    virtual ~SharedLibrary() = default;
    // The entry of that name, or nullptr when the library has none.
    virtual AnyFunction find(const char* name) const = 0;
};

// Loads the library the OS's usual way (a bare name is searched for, a path is taken as it is). Throws BindFailure.
std::unique_ptr<SharedLibrary> loadSharedLibrary(const std::string& fileName);

}  // namespace setip::posdll
