// Runs from a folder that holds a POSDLL.dll without POS_EndDoc.
#include "printer/library_choice.h"
#include "printer/native/native_library.h"

#include <gtest/gtest.h>

#include <sstream>

namespace setip {
namespace {

TEST(LibraryChoice, SaysOnceWhyAVendorLibraryIsRefusedAndTakesTheBuiltInOne) {
    std::ostringstream diagnostics;
    const auto library = choosePrinterLibrary(diagnostics);
    EXPECT_NE(dynamic_cast<native::NativeLibrary*>(library.get()), nullptr);
    EXPECT_EQ(diagnostics.str(),
              "the printer library POSDLL.dll has no entry POS_EndDoc, so it cannot be used. "
              "setip uses its built-in printer library instead.\n");
}

}  // namespace
}  // namespace setip
