#include "ipbox/qt/qt_platform.h"

#include "ipbox/constants.h"

#include <QFontDatabase>

#include <cstring>

namespace setip::qt {
namespace {

using namespace ipbox_constants;

// The one stock object there is; any value other than 0 would do.
constexpr ObjectHandle defaultGuiFontHandle = defaultGuiFont;

}  // namespace

WindowHandle QtPlatform::handleOf(QWidget* window) {
    for (const auto& [handle, widget] : windows_) {
        if (widget == window) return handle;
    }
    windows_.emplace(++lastHandle_, window);
    return lastHandle_;
}

QWidget* QtPlatform::windowOf(WindowHandle window) const {
    const auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : found->second.data();
}

AddressField* QtPlatform::fieldOf(WindowHandle window) const { return dynamic_cast<AddressField*>(windowOf(window)); }

WindowHandle QtPlatform::CreateWindowExA(std::uint32_t extendedStyle, const char* className, const char*,
                                         std::uint32_t style, std::int32_t x, std::int32_t y, std::int32_t width,
                                         std::int32_t height, WindowHandle parent, std::intptr_t, InstanceHandle,
                                         void*) {
    QWidget* parentWidget = windowOf(parent);
    if (parentWidget == nullptr || className == nullptr || std::strcmp(className, fieldClassName) != 0) return 0;
    auto* field = new AddressField(parentWidget);
    if ((extendedStyle & fieldExtendedStyle) != 0) {
        field->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    } else if ((style & wsBorder) != 0) {
        field->setFrameStyle(QFrame::Box | QFrame::Plain);
    }
    field->setFocusPolicy((style & wsTabStop) != 0 ? Qt::StrongFocus : Qt::ClickFocus);
    field->setGeometry(x, y, width, height);
    field->setVisible((style & wsVisible) != 0);
    return handleOf(field);
}

ObjectHandle QtPlatform::GetStockObject(std::int32_t object) {
    return object == defaultGuiFont ? defaultGuiFontHandle : 0;
}

LResult QtPlatform::SendMessageA(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) {
    AddressField* field = fieldOf(window);
    if (field == nullptr) return 0;
    switch (message) {
    case wmSetFont:
        if (static_cast<ObjectHandle>(wParam) == defaultGuiFontHandle) {
            field->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
        }
        if (lParam != 0) field->update();
        return 0;
    case ipmSetAddress:
        // The packed address travels in the low 32 bits of the value itself.
        field->setPackedAddress(static_cast<std::uint32_t>(lParam));
        return 1;
    case ipmGetAddress:
        *reinterpret_cast<std::uint32_t*>(lParam) = field->packedAddress();
        return field->nonBlankParts();
    default:
        return 0;
    }
}

bool QtPlatform::MoveWindow(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t width,
                            std::int32_t height, bool repaint) {
    QWidget* widget = windowOf(window);
    if (widget == nullptr) return false;
    widget->setGeometry(x, y, width, height);
    if (repaint) widget->update();
    return true;
}

}  // namespace setip::qt
