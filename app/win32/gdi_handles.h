#pragma once

#include "common/unique_resource.h"

#include <windows.h>

namespace setip::win32 {

// A device context from GetDC, given back to the window it came from.
struct DeviceContextTraits {
    using Handle = HDC;
    static HDC none() noexcept { return nullptr; }
    static bool valid(HDC context) noexcept { return context != nullptr; }
    static void release(HDC context) noexcept { ::ReleaseDC(::WindowFromDC(context), context); }
};
using UniqueDeviceContext = UniqueResource<DeviceContextTraits>;

// A font the program made; stock fonts are never owned.
struct FontTraits {
    using Handle = HFONT;
    static HFONT none() noexcept { return nullptr; }
    static bool valid(HFONT font) noexcept { return font != nullptr; }
    static void release(HFONT font) noexcept { ::DeleteObject(font); }
};
using UniqueFont = UniqueResource<FontTraits>;

}  // namespace setip::win32
