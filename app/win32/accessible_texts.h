#pragma once

#include "common/text.h"
#include "common/unique_resource.h"

#include <windows.h>
#include <objbase.h>
#include <oleacc.h>

#include <vector>

namespace setip::win32 {

// COM on this thread for as long as it is held; an apartment that could not be joined is not left.
struct ComApartmentTraits {
    using Handle = bool;
    static bool none() noexcept { return false; }
    static bool valid(bool joined) noexcept { return joined; }
    static void release(bool) noexcept { ::CoUninitialize(); }
};
using ComApartment = UniqueResource<ComApartmentTraits>;

inline void releaseComObject(IUnknown* object) noexcept { object->Release(); }
using UniquePropServices = UniqueResource<PointerHandleTraits<IAccPropServices*, releaseComObject>>;

// The name and description a screen reader gives a control, set on the system's own accessible object of the control
// (dynamic annotation, in Windows since XP), so that the system's controls keep everything else they tell. Where the
// system annotates nothing (Wine answers E_NOTIMPL), the controls keep what the system tells of them.
class AccessibleTexts {
public:
    AccessibleTexts();
    ~AccessibleTexts() { clear(); }
    AccessibleTexts(const AccessibleTexts&) = delete;
    AccessibleTexts& operator=(const AccessibleTexts&) = delete;

    // An empty text leaves the system's own.
    void annotate(HWND control, TextView name, TextView description);
    // Takes every annotation back, while the controls still exist.
    void clear();

private:
    ComApartment apartment_;
    UniquePropServices services_;
    std::vector<HWND> annotated_;
};

}  // namespace setip::win32
