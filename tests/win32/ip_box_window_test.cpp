#include "ipbox/win32/ip_box_window.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

namespace setip::win32 {
namespace {

// An ipBox window over the system's real SysIPAddress32: what it starts with, what it covers, what it is given. An
// address the control refuses never reaches the field: the portable suite's AddressSetter, which the Windows build
// runs too.
TEST(IpBoxWindow, HostsTheRealFieldOverTheWholeControlAndLoadsIt) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_INTERNET_CLASSES};
    ASSERT_TRUE(::InitCommonControlsEx(&classes));
    registerIpBoxClass(::GetModuleHandleW(nullptr));
    const HWND window = ::CreateWindowExW(0, ipBoxClassName, L"", WS_POPUP, 10, 10, 150, 24, nullptr, nullptr,
                                          ::GetModuleHandleW(nullptr), nullptr);
    const HWND field = ::FindWindowExW(window, nullptr, WC_IPADDRESSW, nullptr);
    ASSERT_NE(field, nullptr) << "the address field was created inside the control";
    ipBox& box = *ipBoxOf(window);
    const auto fieldAddress = [&] {
        DWORD packed = 0;
        ::SendMessageW(field, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&packed));
        return packed;
    };
    const auto fieldPlace = [&] {  // left, top, right and bottom in the control's client area
        RECT place{};
        ::GetWindowRect(field, &place);
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
        return std::vector<LONG>{place.left, place.top, place.right, place.bottom};
    };

    EXPECT_EQ(fieldAddress(), 0xC0A87B64u);
    EXPECT_EQ(box.Address(), u"192.168.123.100");
    EXPECT_EQ(fieldPlace(), (std::vector<LONG>{0, 0, 150, 24}));
    ::MoveWindow(window, 5, 5, 230, 31, TRUE);
    EXPECT_EQ(fieldPlace(), (std::vector<LONG>{0, 0, 230, 31}));

    box.Address(u"010.001.000.009");
    EXPECT_EQ(fieldAddress(), 0x0A010009u);
    EXPECT_EQ(box.Address(), u"10.1.0.9");
    ::DestroyWindow(window);
}

}  // namespace
}  // namespace setip::win32
