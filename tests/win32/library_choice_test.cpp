// Runs from the build folder, where no POSDLL.dll is.
#include "printer/library_choice.h"
#include "printer/native/native_library.h"
#include "printer/posdll/shared_library.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace setip {
namespace {

TEST(LibraryChoice, TakesTheBuiltInLibrarySilentlyWhenNoVendorLibraryIsThere) {
    std::ostringstream diagnostics;
    const auto library = choosePrinterLibrary(diagnostics);
    EXPECT_NE(dynamic_cast<native::NativeLibrary*>(library.get()), nullptr);
    EXPECT_EQ(diagnostics.str(), "");
}

// A POSDLL.dll planted in the current folder is never loaded by its bare name.
TEST(LibraryChoice, NeverLoadsAVendorLibraryFromTheCurrentFolder) {
    const auto folder = std::filesystem::temp_directory_path() / ("setip-planted-" + std::to_string(::GetCurrentProcessId()));
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(SETIP_RECORDING_LIBRARY, folder / "POSDLL.dll");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);

    std::ostringstream diagnostics;
    const auto library = choosePrinterLibrary(diagnostics);
    std::string loadFailure;
    try {
        posdll::loadSharedLibrary("POSDLL.dll");
    } catch (const posdll::BindFailure& failure) {
        loadFailure = failure.what();
    }
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);

    EXPECT_NE(dynamic_cast<native::NativeLibrary*>(library.get()), nullptr);
    EXPECT_EQ(diagnostics.str(), "");
    EXPECT_TRUE(loadFailure.starts_with("cannot load the printer library POSDLL.dll: ")) << loadFailure;
}

}  // namespace
}  // namespace setip
