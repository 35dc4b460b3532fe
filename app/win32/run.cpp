#include "app/win32/run.h"

#include "app/win32/native_text.h"
#include "ipbox/win32/ip_box_window.h"
#include "printer/builtin/queue_port.h"
#include "printer/library_choice.h"
#include "window/installed_printers.h"

#include <commctrl.h>

#include <iostream>
#include <sstream>

namespace setip::win32 {

void dispatch(const FormWindow& window, MSG& message) {
    if (window.dropsKey(message)) return;
    if (window.handle() != nullptr && ::IsDialogMessageW(window.handle(), &message)) return;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

int runSetip(HINSTANCE instance, int show, const std::function<void(FormWindow&)>& beforeShow) {
    // The address field's window class and the one hosting ipBox, and the classic controls at version 6.
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_INTERNET_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&classes);
    registerIpBoxClass(instance);

    std::ostringstream refusal;
    const auto library = choosePrinterLibrary(refusal);
    const ListedPrinters printers{builtin::installedQueues()};
    FormWindow window{instance, printers, *library, std::cerr};
    if (beforeShow) beforeShow(window);
    ::ShowWindow(window.handle(), show);
    ::UpdateWindow(window.handle());
    // A vendor library that is there but cannot be used is told once, over the window it concerns.
    if (!refusal.str().empty()) {
        ::MessageBoxW(window.handle(), wideOf(fromUtf8(refusal.str())).c_str(), L"setip", MB_OK | MB_ICONWARNING);
    }

    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) dispatch(window, message);
    return static_cast<int>(message.wParam);
}

}  // namespace setip::win32
