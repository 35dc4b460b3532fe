#include "app/win32/native_window.h"

#include "app/win32/native_text.h"

#include <algorithm>

namespace setip::win32 {

void NativeWindow::setEnabled(bool enabled) { ::EnableWindow(handle_, enabled); }

Text NativeWindow::text() const { return windowText(handle_); }

void NativeWindow::setText(TextView text) { ::SetWindowTextW(handle_, wideOf(text).c_str()); }

std::vector<Text> NativeWindow::items() const {
    std::vector<Text> items;
    const auto count = kind_ == ControlKind::comboBox ? ::SendMessageW(handle_, CB_GETCOUNT, 0, 0) : 0;
    for (LRESULT index = 0; index < count; ++index) {
        const auto length = std::max<LRESULT>(::SendMessageW(handle_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0), 0);
        std::wstring item(static_cast<std::size_t>(length) + 1, L'\0');
        ::SendMessageW(handle_, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item.data()));
        item.resize(static_cast<std::size_t>(length));
        items.push_back(textOf(item));
    }
    return items;
}

void NativeWindow::setItems(const std::vector<Text>& items) {
    ::SendMessageW(handle_, CB_RESETCONTENT, 0, 0);
    for (const Text& item : items) ::SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wideOf(item).c_str()));
}

std::int32_t NativeWindow::picked() const { return static_cast<std::int32_t>(::SendMessageW(handle_, CB_GETCURSEL, 0, 0)); }

void NativeWindow::pick(std::int32_t index) { ::SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

}  // namespace setip::win32
