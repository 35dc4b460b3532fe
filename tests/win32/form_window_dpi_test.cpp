// Runs in a Wine prefix set to 144 DPI, and carries setip.exe's manifest, so it is aware of the DPI as setip.exe is.
#include "app/win32/form_window.h"
#include "tests/support/recording_library.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <sstream>

namespace setip::win32 {
namespace {

TEST(FormWindowAt144Dpi, ScalesEveryTwipsValueByMulDiv) {
    testing_support::RecordingLibrary library;
    std::ostringstream diagnostics;
    const ListedPrinters printers{{u"A"}};
    FormWindow window{::GetModuleHandleW(nullptr), printers, library, diagnostics};
    ASSERT_EQ(::GetDpiForWindow(window.handle()), 144u) << "the prefix's LogPixels is 144";
    const auto scaled = [](std::int32_t twips) { return ::MulDiv(twips, 144, 1440); };

    RECT client{};
    ::GetClientRect(window.handle(), &client);
    EXPECT_EQ(client.right, scaled(clientWidthTwips));
    EXPECT_EQ(client.bottom, scaled(clientHeightTwips));
    for (const Control* control : window.form().controls()) {
        RECT place{};
        ::GetWindowRect(window.controlOf(*control), &place);
        ::MapWindowPoints(nullptr, window.handle(), reinterpret_cast<POINT*>(&place), 2);
        const Placement at = control->placement();
        EXPECT_EQ(place.left, scaled(at.left)) << control->name();
        EXPECT_EQ(place.top, scaled(at.top)) << control->name();
        EXPECT_EQ(place.right - place.left, scaled(at.width)) << control->name();
        if (control->kind() == ControlKind::comboBox) {
            // Wine keeps a closed list at least as tall as its font needs, and the stock font grows with the DPI.
            EXPECT_GE(place.bottom - place.top, scaled(at.height)) << control->name();
        } else {
            EXPECT_EQ(place.bottom - place.top, scaled(at.height)) << control->name();
        }
    }
}

}  // namespace
}  // namespace setip::win32
