// Runs from a folder that holds a POSDLL.dll with all five entries.
#include "printer/library_choice.h"
#include "printer/native/native_library.h"
#include "printer/press.h"
#include "tests/support/recording_library.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <sstream>

namespace setip {
namespace {

TEST(LibraryChoice, TakesTheVendorLibraryBesideTheExecutableAndBindsItsEntries) {
    std::ostringstream diagnostics;
    const auto library = choosePrinterLibrary(diagnostics);
    EXPECT_EQ(dynamic_cast<native::NativeLibrary*>(library.get()), nullptr);
    EXPECT_EQ(diagnostics.str(), "");

    testing_support::RecordingMessages messages;
    const WindowInputs inputs{u"COM3", u"", u"", u"115200", u"10.0.0.7"};
    EXPECT_EQ(pressSetIp(inputs, *library, messages, diagnostics), 7);

    // The loader hands out the same copy that the choice bound, so its record holds the press.
    const HMODULE vendor = ::GetModuleHandleW(L"POSDLL.dll");
    ASSERT_NE(vendor, nullptr);
    const auto recording = reinterpret_cast<testing_support::RecordingLibrary* (*)()>(
        reinterpret_cast<void (*)()>(::GetProcAddress(vendor, "recording")));
    ASSERT_NE(recording, nullptr);
    EXPECT_EQ(recording()->calls, (std::vector<std::string>{
        R"(POS_Open("COM3", 115200, 8, 0, 0, 1))", "POS_StartDoc()",
        "POS_WriteFile(7, 1F 1B 1F 91 00 49 50 0A 00 00 07, 11)", "POS_EndDoc()", "POS_Close()"}));
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace setip
