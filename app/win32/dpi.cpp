#include "app/win32/dpi.h"

#include "app/win32/gdi_handles.h"

namespace setip::win32 {
namespace {

template <typename Function>
Function fromUser32(const char* name) {
    // user32 is loaded in every process that has a window, so its handle needs no owner.
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return user32 == nullptr ? nullptr : reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(user32, name)));
}

UINT logicalDpiOf(HWND window) {
    const UniqueDeviceContext context{::GetDC(window)};
    const int dpi = context ? ::GetDeviceCaps(context.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

DpiFunctions DpiFunctions::ofSystem() {
    DpiFunctions functions;
    functions.getDpiForWindow_ = fromUser32<GetDpiForWindowFunction>("GetDpiForWindow");
    functions.adjustWindowRectExForDpi_ = fromUser32<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    return functions;
}

UINT DpiFunctions::dpiOf(HWND window) const {
    return getDpiForWindow_ != nullptr ? getDpiForWindow_(window) : logicalDpiOf(window);
}

RECT DpiFunctions::frameAround(SIZE client, DWORD style, DWORD extendedStyle, UINT dpi) const {
    RECT frame{0, 0, client.cx, client.cy};
    if (adjustWindowRectExForDpi_ != nullptr) {
        adjustWindowRectExForDpi_(&frame, style, FALSE, extendedStyle, dpi);
    } else {
        ::AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
    }
    return frame;
}

UINT systemDpi() { return logicalDpiOf(nullptr); }

UniqueFont guiFontFor(UINT dpi) {
    const UINT system = systemDpi();
    if (dpi == system) return {};
    LOGFONTW font{};
    if (::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font) == 0) return {};
    font.lfHeight = ::MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(system));
    font.lfWidth = ::MulDiv(font.lfWidth, static_cast<int>(dpi), static_cast<int>(system));
    return UniqueFont{::CreateFontIndirectW(&font)};
}

}  // namespace setip::win32
