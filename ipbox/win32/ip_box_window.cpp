#include "ipbox/win32/ip_box_window.h"

#include "common/win32/no_escape_procedure.h"
#include "ipbox/win32/win32_platform.h"

#include <memory>

namespace setip::win32 {
namespace {

// What one window of the class holds, kept in its GWLP_USERDATA from creation to destruction.
class IpBoxHost final : public UserControl {
public:
    explicit IpBoxHost(HWND window) : window_(window), box_(*this, platform_) {}

    ipBox& box() { return box_; }

    WindowHandle hWnd() const override { return Win32Platform::handleOf(window_); }
    double ScaleWidth() const override { return inner().right; }
    double ScaleHeight() const override { return inner().bottom; }
    InstanceHandle hInstance() const override { return ::GetWindowLongPtrW(window_, GWLP_HINSTANCE); }

private:
    RECT inner() const {
        RECT client{};
        ::GetClientRect(window_, &client);
        return client;
    }

    HWND window_;
    Win32Platform platform_;
    ipBox box_;
};

IpBoxHost* hostOf(HWND window) { return reinterpret_cast<IpBoxHost*>(::GetWindowLongPtrW(window, GWLP_USERDATA)); }

LRESULT onCreate(HWND window) {
    auto host = std::make_unique<IpBoxHost>(window);
    // No error may cross the system's call into this procedure; the fixed default address raises none anyway.
    try {
        host->box().UserControl_Initialize();
    } catch (const Error&) {
        return -1;
    }
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(host.release()));
    return 0;
}

LRESULT onSize(HWND window) {
    if (IpBoxHost* host = hostOf(window)) {
        try {
            host->box().UserControl_Resize();
        } catch (const Error&) {
            // A size beyond 32 bits cannot reach here: the system's sizes are 32-bit already.
        }
    }
    return 0;
}

LRESULT onNcDestroy(HWND window) {
    delete hostOf(window);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return 0;
}

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: return onCreate(window);
        case WM_SIZE: return onSize(window);
        case WM_NCDESTROY: return onNcDestroy(window);
        default: return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

void registerIpBoxClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpszClassName = ipBoxClassName;
    windowClass.hInstance = instance;
    windowClass.lpfnWndProc = &noEscapeProcedure<procedure>;
    windowClass.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    ::RegisterClassExW(&windowClass);  // a second registration fails harmlessly
}

ipBox* ipBoxOf(HWND window) {
    wchar_t name[32];
    if (::GetClassNameW(window, name, 32) == 0 || std::wstring_view{name} != ipBoxClassName) return nullptr;
    IpBoxHost* host = hostOf(window);
    return host ? &host->box() : nullptr;
}

}  // namespace setip::win32
