#pragma once

#include "common/unique_resource.h"

#include <windows.h>

namespace setip::win32 {

// A device context from GetDC goes back to the window it came from.
inline void releaseDeviceContext(HDC context) noexcept { ::ReleaseDC(::WindowFromDC(context), context); }
using UniqueDeviceContext = UniqueResource<PointerHandleTraits<HDC, releaseDeviceContext>>;

// A font the program made; stock fonts are never owned.
inline void deleteFont(HFONT font) noexcept { ::DeleteObject(font); }
using UniqueFont = UniqueResource<PointerHandleTraits<HFONT, deleteFont>>;

}  // namespace setip::win32
