#include "ipbox/win32/ip_box_window.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

namespace setip::win32 {
namespace {

// An ipBox window on a plain top-level window, over the system's real SysIPAddress32.
class IpBoxWindow : public testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_INTERNET_CLASSES};
        ASSERT_TRUE(::InitCommonControlsEx(&classes));
        const HINSTANCE instance = ::GetModuleHandleW(nullptr);
        registerIpBoxClass(instance);
        parent_ = ::CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 200, nullptr, nullptr,
                                    instance, nullptr);
        window_ = ::CreateWindowExW(0, ipBoxClassName, L"", WS_CHILD | WS_VISIBLE, 10, 10, 150, 24, parent_, nullptr,
                                    instance, nullptr);
        field_ = ::FindWindowExW(window_, nullptr, WC_IPADDRESSW, nullptr);
        ASSERT_NE(field_, nullptr) << "the address field was created inside the control";
    }
    void TearDown() override { ::DestroyWindow(parent_); }

    ipBox& box() const { return *ipBoxOf(window_); }
    DWORD fieldAddress() const {
        DWORD packed = 0;
        ::SendMessageW(field_, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&packed));
        return packed;
    }
    // The field's rectangle in the control's client area.
    RECT fieldPlace() const {
        RECT place{};
        ::GetWindowRect(field_, &place);
        ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);
        return place;
    }

    HWND parent_ = nullptr;
    HWND window_ = nullptr;
    HWND field_ = nullptr;
};

TEST_F(IpBoxWindow, StartsWithTheDefaultAddressInAFieldThatCoversTheControlAtEachSize) {
    EXPECT_EQ(fieldAddress(), 0xC0A87B64u);
    EXPECT_EQ(box().Address(), u"192.168.123.100");
    RECT place = fieldPlace();
    EXPECT_EQ((std::vector<LONG>{place.left, place.top, place.right, place.bottom}), (std::vector<LONG>{0, 0, 150, 24}));
    ::MoveWindow(window_, 5, 5, 230, 31, TRUE);
    place = fieldPlace();
    EXPECT_EQ((std::vector<LONG>{place.left, place.top, place.right, place.bottom}), (std::vector<LONG>{0, 0, 230, 31}));
}

struct Assignment {
    std::string name;
    Text text;
    DWORD packed;  // what the field holds afterwards
    Text readBack;
    int error;  // 0 when the text is taken
};

class AssignedOnTheRealField : public IpBoxWindow, public testing::WithParamInterface<Assignment> {};

TEST_P(AssignedOnTheRealField, LoadsTheFieldOrLeavesItAsItWas) {
    const Assignment& row = GetParam();
    int error = 0;
    try {
        box().Address(row.text);
    } catch (const Error& raised) {
        error = raised.number();
    }
    EXPECT_EQ(error, row.error);
    EXPECT_EQ(fieldAddress(), row.packed);
    EXPECT_EQ(box().Address(), row.readBack);
}

INSTANTIATE_TEST_SUITE_P(Rows, AssignedOnTheRealField, testing::Values(
    Assignment{"leading zeros are dropped", u"010.001.000.009", 0x0A010009, u"10.1.0.9", 0},
    Assignment{"too few dots raise 102", u"1.2.3", 0xC0A87B64, u"192.168.123.100", 102},
    Assignment{"a part past 255 raises 6", u"a.b.c.300", 0xC0A87B64, u"192.168.123.100", 6}),
    testing_support::RowName{});

}  // namespace
}  // namespace setip::win32
