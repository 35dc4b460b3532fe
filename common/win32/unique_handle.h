#pragma once

#include "common/unique_resource.h"

#include <windows.h>

namespace setip {

// CreateFileW's failure value is INVALID_HANDLE_VALUE, most other calls' is null; neither is a handle.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static HANDLE none() noexcept { return nullptr; }
    static bool valid(HANDLE handle) noexcept { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    static void release(HANDLE handle) noexcept { ::CloseHandle(handle); }
};

// Owns one kernel handle and closes it exactly once.
using UniqueHandle = UniqueResource<KernelHandleTraits>;

}  // namespace setip
