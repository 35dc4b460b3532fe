// One case for each folder the program runs from: the build folder, where no POSDLL.dll is; vendor/, which holds
// one with all five entries; refused/, which holds one without POS_EndDoc. Each build of this program runs the case
// of its own folder.
#include "printer/library_choice.h"
#include "printer/native/native_library.h"
#include "printer/posdll/win32/library_search.h"
#include "printer/press.h"
#include "tests/support/recording_library.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <sstream>

namespace setip {
namespace {

using posdll::LibrarySearch;
constexpr LibrarySearch bothSearches[] = {LibrarySearch::loaderFlags, LibrarySearch::fullPath};

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
    for (const LibrarySearch search : bothSearches) {
        EXPECT_THROW(posdll::loadSharedLibrary("POSDLL.dll", search), posdll::BindFailure);
    }
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
    EXPECT_TRUE(isBuiltIn(library));
    EXPECT_EQ(diagnostics.str(), "");
}

struct VendorPress {
    std::string name;
    WindowInputs inputs;
    std::int32_t openResult;
};

class LibraryChoiceInVendor : public testing::TestWithParam<VendorPress> {};

// The stand-in is stdcall on 32-bit Windows, as the vendor's library is, so a binding that disagreed about who pops
// the arguments would corrupt the stack; a thousand presses in one process show that it does not. What the vendor's
// POS_EndDoc gives back is not read, so no press tells of a failed send, and the library gets a copy of the name.
// An un-updated Windows 7 refuses the loader's search flags, so the library must load by its full path too.
TEST_P(LibraryChoiceInVendor, PressesThroughTheLibraryBesideTheProgramAsThroughTheBuiltInOne) {
    std::ostringstream diagnostics;
    const auto library = choosePrinterLibrary(diagnostics);
    ASSERT_FALSE(isBuiltIn(library));
    std::unique_ptr<posdll::SharedLibrary> loaded;
    for (const LibrarySearch search : bothSearches) loaded = posdll::loadSharedLibrary("POSDLL.dll", search);
    testing_support::RecordingLibrary& bound =
        *reinterpret_cast<testing_support::RecordingLibrary* (*)()>(loaded->find("recording"))();
    testing_support::RecordingLibrary inProcess;
    bound.openResult = inProcess.openResult = GetParam().openResult;
    bound.endDocResult = -1;  // means nothing from a vendor library, so nothing is told
    testing_support::RecordingMessages messages, inProcessMessages;
    pressSetIp(GetParam().inputs, inProcess, inProcessMessages, diagnostics);
    EXPECT_EQ(inProcess.calls.size(), GetParam().openResult == failedHandle ? 1u : 5u);
    for (int press = 0; press < 1000; ++press) {
        bound.calls.clear();
        EXPECT_EQ(pressSetIp(GetParam().inputs, *library, messages, diagnostics), GetParam().openResult);
        ASSERT_EQ(bound.calls, inProcess.calls) << "press " << press;
    }
    EXPECT_EQ(messages.shown.size(), 1000 * inProcessMessages.shown.size());
    const std::string name = "COM1";  // the stand-in scribbles on the name it is given, as vendor libraries may
    library->POS_Open(name.c_str(), 9600, 8, 0, 0, 1);
    EXPECT_EQ(name, "COM1") << "the library was lent the caller's buffer, not a copy";
}

// A full press calls every entry and a failed open only the first, so these two cover each entry's arguments; which
// port kind gives which arguments is the press's own suite.
INSTANTIATE_TEST_SUITE_P(Kinds, LibraryChoiceInVendor, testing::Values(
    VendorPress{"parallel with handle 0 calls every entry", {u"LPT2", u"", u"", u"", u"10.0.0.7"}, 0},
    VendorPress{"failed open shows the message and calls nothing more", {u"COM1", u"", u"", u"9600", u"10.0.0.7"},
                failedHandle}),
    testing_support::RowName{});

TEST(LibraryChoiceInRefused, SaysOnceWhyAVendorLibraryIsRefusedAndTakesTheBuiltInOne) {
    std::ostringstream diagnostics;
    EXPECT_TRUE(isBuiltIn(choosePrinterLibrary(diagnostics)));
    EXPECT_EQ(diagnostics.str(),
              "the printer library POSDLL.dll has no entry POS_EndDoc, so it cannot be used. "
              "setip uses its built-in printer library instead.\n");
}

}  // namespace
}  // namespace setip
