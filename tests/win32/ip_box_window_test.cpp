#include "ipbox/win32/ip_box_window.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

namespace setip::win32 {
namespace {

// An ipBox window over the system's real SysIPAddress32: the field covers the control as it is sized, and holds what
// it is given in the system's byte order. What a new control starts with, and an address the control refuses, are
// the portable suite's IpBoxLifecycle and AddressSetter, which the Windows build runs too.
TEST(IpBoxWindow, HostsTheRealFieldOverTheWholeControlAndLoadsIt) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_INTERNET_CLASSES};
    ASSERT_TRUE(::InitCommonControlsEx(&classes));
    registerIpBoxClass(::GetModuleHandleW(nullptr));
    const HWND window = ::CreateWindowExW(0, ipBoxClassName, L"", WS_POPUP, 10, 10, 150, 24, nullptr, nullptr,
                                          ::GetModuleHandleW(nullptr), nullptr);
    const HWND field = ::FindWindowExW(window, nullptr, WC_IPADDRESSW, nullptr);  // none leaves every check at 0
    ::MoveWindow(window, 5, 5, 230, 31, TRUE);
    RECT place{};
    ::GetWindowRect(field, &place);  // on the screen, where the control now covers 5,5 to 235,36
    const std::vector<LONG> covered{place.left, place.top, place.right, place.bottom};
    EXPECT_EQ(covered, (std::vector<LONG>{5, 5, 235, 36}));

    ipBox& box = *ipBoxOf(window);
    box.Address(u"010.001.000.009");
    DWORD packed = 0;
    ::SendMessageW(field, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&packed));
    EXPECT_EQ(packed, 0x0A010009u);
    EXPECT_EQ(box.Address(), u"10.1.0.9");
    ::DestroyWindow(window);
}

}  // namespace
}  // namespace setip::win32
