// One case for each folder the program runs from: the build folder, where no POSDLL.dll is; vendor/, which holds
// one with all five entries; refused/, which holds one without POS_EndDoc. Each build of this program runs the case
// of its own folder.
#include "printer/builtin/builtin_library.h"
#include "printer/library_choice.h"
#include "printer/press.h"
#include "printer/win32/library_search.h"
#include "tests/posdll/pos_calls.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <sstream>

namespace setip {
namespace {

using vendor::LibrarySearch;
constexpr LibrarySearch bothSearches[] = {LibrarySearch::loaderFlags, LibrarySearch::fullPath};

bool isBuiltIn(const std::unique_ptr<PrinterLibrary>& library) {
    return dynamic_cast<builtin::BuiltinLibrary*>(library.get()) != nullptr;
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
        EXPECT_THROW(vendor::loadLibrary(L"POSDLL.dll", search), PrinterFailure);
    }
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
    EXPECT_TRUE(isBuiltIn(library));
    EXPECT_EQ(diagnostics.str(), "");
}

struct VendorPress {
    std::string name;
    PressRequest request;
    std::int32_t openResult;
    std::vector<std::string> calls;  // what the vendor's library sees
    friend void PrintTo(const VendorPress& row, std::ostream* out) { *out << row.name; }
};

std::vector<std::string> sendSequence(const std::string& open, int handle = 7) {
    return {open, "POS_StartDoc()", "POS_WriteFile(" + std::to_string(handle) + ", 1F 1B 1F 91 00 49 50 0A 00 00 07, 11)",
            "POS_EndDoc()", "POS_Close()"};
}

class LibraryChoiceInVendor : public testing::TestWithParam<VendorPress> {};

// The press through the library beside the program makes exactly these calls, a thousand times in one process: the
// stand-in is stdcall on 32-bit Windows, as the vendor's library is, so a binding that disagreed about who pops the
// arguments would corrupt the stack. Its POS_EndDoc gives -1, which means nothing from a vendor library. An
// un-updated Windows 7 refuses the loader's search flags, so the library must load by its full path too.
TEST_P(LibraryChoiceInVendor, MakesTheVendorsCallsWithTheVendorsArguments) {
    std::ostringstream diagnostics;
    const auto library = choosePrinterLibrary(diagnostics);
    ASSERT_FALSE(isBuiltIn(library));
    vendor::LoadedLibrary loaded;
    for (const LibrarySearch search : bothSearches) loaded = vendor::loadLibrary(L"POSDLL.dll", search);
    testing_support::PosCalls& seen = *reinterpret_cast<testing_support::PosCalls* (*)()>(
        reinterpret_cast<void (*)()>(::GetProcAddress(loaded.get(), "recording")))();
    seen.openResult = GetParam().openResult;
    for (int press = 0; press < 1000; ++press) {
        seen.calls.clear();
        const PressOutcome outcome = pressSetIp(GetParam().request, *library);
        EXPECT_EQ(outcome.failedAt.has_value(), GetParam().calls.size() < 5) << outcome.reason;
        ASSERT_EQ(seen.calls, GetParam().calls) << "press " << press;
    }
    EXPECT_EQ(diagnostics.str(), "");
}

// The open modes and line settings by port kind, and a name narrowed to the ANSI code page (1252 here), where a
// character the page lacks and has no likeness in becomes "?".
INSTANTIATE_TEST_SUITE_P(Kinds, LibraryChoiceInVendor, testing::Values(
    VendorPress{"network opens the present address as typed in mode 21",
                {u"ETHx", u" 127.0.0.5 ", u"", u"", u"10.0.0.7"}, 7,
                sendSequence(R"(POS_Open(" 127.0.0.5 ", 0, 0, 0, 0, 21))")},
    VendorPress{"serial opens the entry at the baud rate with 8 data bits in mode 1",
                {u"COM12", u"", u"", u"19200", u"10.0.0.7"}, 7, sendSequence(R"(POS_Open("COM12", 19200, 8, 0, 0, 1))")},
    VendorPress{"parallel with handle 0 calls every entry in mode 18", {u"LPT2", u"", u"", u"", u"10.0.0.7"}, 0,
                sendSequence(R"(POS_Open("LPT2", 0, 0, 0, 0, 18))", 0)},
    VendorPress{"driver names the queue in the ansi code page in mode 20",
                {u"DRIVER", u"", u"Caf\u00E9 \u4E2E", u"", u"10.0.0.7"}, 7,
                sendSequence("POS_Open(\"Caf\xE9 ?\", 0, 0, 0, 0, 20)")},
    VendorPress{"failed open calls nothing more", {u"COM1", u"", u"", u"9600", u"10.0.0.7"}, failedHandle,
                {R"(POS_Open("COM1", 9600, 8, 0, 0, 1))"}},
    VendorPress{"an entry of no kind calls nothing", {u"com1", u"", u"", u"9600", u"10.0.0.7"}, 7, {}}),
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
