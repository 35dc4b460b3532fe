#include "common/deadline.h"
#include "common/text.h"
#include "common/unique_resource.h"
#include "ipbox/win32/ip_box_window.h"
#include "tests/ipbox/typing_rows.h"
#include "tests/support/table.h"
#include "tests/win32/keyboard.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string_view>
#include <vector>

namespace setip::win32 {
namespace {

using testing_support::TypingRow;
using Window = UniqueResource<PointerHandleTraits<HWND, ::DestroyWindow>>;

// An ipBox window over the system's real SysIPAddress32, and the field inside it.
Window createIpBoxWindow(DWORD style) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_INTERNET_CLASSES};
    EXPECT_TRUE(::InitCommonControlsEx(&classes));
    registerIpBoxClass(::GetModuleHandleW(nullptr));
    return Window{::CreateWindowExW(0, ipBoxClassName, L"", style, 10, 10, 150, 24, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr)};
}
HWND fieldOf(const Window& window) { return ::FindWindowExW(window.get(), nullptr, WC_IPADDRESSW, nullptr); }

// The field covers the control as it is sized, and holds what it is given in the system's byte order. What a new
// control starts with, and an address the control refuses, are the portable suite's IpBoxLifecycle and
// AddressSetter, which the Windows build runs too.
TEST(IpBoxWindow, HostsTheRealFieldOverTheWholeControlAndLoadsIt) {
    const Window window = createIpBoxWindow(WS_POPUP);
    const HWND field = fieldOf(window);  // none leaves every check at 0
    ::MoveWindow(window.get(), 5, 5, 230, 31, TRUE);
    RECT place{};
    ::GetWindowRect(field, &place);  // on the screen, where the control now covers 5,5 to 235,36
    const std::vector<LONG> covered{place.left, place.top, place.right, place.bottom};
    EXPECT_EQ(covered, (std::vector<LONG>{5, 5, 235, 36}));

    ipBox& box = *ipBoxOf(window.get());
    box.Address(u"010.001.000.009");
    DWORD packed = 0;
    ::SendMessageW(field, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&packed));
    EXPECT_EQ(packed, 0x0A010009u);
    EXPECT_EQ(box.Address(), u"10.1.0.9");
}

// Runs the thread's messages as a program's loop does until F24 comes: each key's characters come before the next
// key, so every key before it has been handled then.
void handleKeys() {
    const Deadline deadline = deadlineAfter(std::chrono::seconds(10));
    for (MSG message{}; message.message != WM_KEYDOWN || message.wParam != VK_F24;) {
        if (!::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ASSERT_NE(::MsgWaitForMultipleObjects(0, nullptr, FALSE, millisecondsLeft(deadline), QS_ALLINPUT),
                      WAIT_TIMEOUT) << "the keys never came";
            continue;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

class IpBoxWindowTyping : public testing::TestWithParam<TypingRow> {};

TEST_P(IpBoxWindowTyping, KeystrokesIntoABlankFieldGiveTheAddress) {
    const Window window = createIpBoxWindow(WS_POPUP | WS_VISIBLE);
    ASSERT_TRUE(::SetForegroundWindow(window.get()));
    const HWND field = fieldOf(window);
    ::SendMessageW(field, IPM_CLEARADDRESS, 0, 0);
    ::SendMessageW(field, IPM_SETFOCUS, 0, 0);
    const auto wide = [](std::string_view text) { return std::wstring(text.begin(), text.end()); };
    testing_support::putOnClipboard(wide(GetParam().clipboard));
    testing_support::typeKeys(wide(GetParam().keys), VK_F24);  // F24, which nothing here takes, ends them
    handleKeys();
    EXPECT_EQ(ipBoxOf(window.get())->Address(), fromUtf8(GetParam().address));
}

std::vector<TypingRow> rowsOnWine() {
    std::vector<TypingRow> rows;
    for (const TypingRow& row : testing_support::typingRows) {
        if (row.onWine) rows.push_back(row);
    }
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Rows, IpBoxWindowTyping, testing::ValuesIn(rowsOnWine()), testing_support::RowName{});

}  // namespace
}  // namespace setip::win32
