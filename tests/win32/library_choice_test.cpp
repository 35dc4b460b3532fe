// One case for each folder the program runs from: the build folder, where no POSDLL.dll is; vendor/, which holds
// one with all five entries; refused/, which holds one without POS_EndDoc. Each build of this program runs the case
// of its own folder.
#include "printer/library_choice.h"
#include "printer/native/native_library.h"
#include "printer/press.h"
#include "tests/support/recording_library.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <sstream>

namespace setip {
namespace {

bool isBuiltIn(const std::unique_ptr<PrinterLibrary>& library) {
    return dynamic_cast<native::NativeLibrary*>(library.get()) != nullptr;
}

// A POSDLL.dll planted in the current folder is never loaded by its bare name.
TEST(LibraryChoiceInTheBuildFolder, NeverLoadsAVendorLibraryFromTheCurrentFolderAndSaysNothing) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("setip-planted-" + std::to_string(::GetCurrentProcessId()));
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(SETIP_RECORDING_LIBRARY, folder / "POSDLL.dll");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    std::ostringstream diagnostics;
    const auto library = choosePrinterLibrary(diagnostics);
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
    EXPECT_TRUE(isBuiltIn(library));
    EXPECT_EQ(diagnostics.str(), "");
}

TEST(LibraryChoiceInVendor, TakesTheVendorLibraryBesideTheExecutableAndBindsItsEntries) {
    std::ostringstream diagnostics;
    const auto library = choosePrinterLibrary(diagnostics);
    EXPECT_FALSE(isBuiltIn(library));
    EXPECT_EQ(diagnostics.str(), "");
    testing_support::RecordingMessages messages;
    const WindowInputs inputs{u"COM3", u"", u"", u"115200", u"10.0.0.7"};
    // Only the stand-in's POS_Open gives handle 7; the built-in library has no COM3 here.
    EXPECT_EQ(pressSetIp(inputs, *library, messages, diagnostics), 7);
    EXPECT_TRUE(messages.shown.empty());
}

TEST(LibraryChoiceInRefused, SaysOnceWhyAVendorLibraryIsRefusedAndTakesTheBuiltInOne) {
    std::ostringstream diagnostics;
    EXPECT_TRUE(isBuiltIn(choosePrinterLibrary(diagnostics)));
    EXPECT_EQ(diagnostics.str(),
              "the printer library POSDLL.dll has no entry POS_EndDoc, so it cannot be used. "
              "setip uses its built-in printer library instead.\n");
}

}  // namespace
}  // namespace setip
