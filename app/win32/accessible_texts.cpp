// The annotation service's class and property identifiers are defined here, where they are used.
#include <initguid.h>

#include "app/win32/accessible_texts.h"

#include "app/win32/native_text.h"

#include <array>

namespace setip::win32 {
namespace {

const std::array<MSAAPROPID, 2> annotatedProperties = {PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION};

}  // namespace

AccessibleTexts::AccessibleTexts() : apartment_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    IAccPropServices* services = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                     reinterpret_cast<void**>(&services)))) {
        services_.reset(services);
    }
}

void AccessibleTexts::annotate(HWND control, TextView name, TextView description) {
    if (!services_) return;
    bool annotated = false;
    const std::array<TextView, 2> texts = {name, description};  // in the order of annotatedProperties
    for (std::size_t index = 0; index < texts.size(); ++index) {
        if (texts[index].empty()) continue;
        const std::wstring text = wideOf(texts[index]);
        annotated |= SUCCEEDED(services_.get()->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                                                annotatedProperties[index], text.c_str()));
    }
    if (annotated) annotated_.push_back(control);
}

void AccessibleTexts::clear() {
    for (const HWND control : annotated_) {
        services_.get()->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                        annotatedProperties.data(), static_cast<int>(annotatedProperties.size()));
    }
    annotated_.clear();
}

}  // namespace setip::win32
