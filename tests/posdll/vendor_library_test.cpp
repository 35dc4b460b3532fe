#include "printer/library_choice.h"
#include "printer/native/native_library.h"
#include "printer/posdll/shared_library.h"
#include "printer/posdll/vendor_library.h"
#include "tests/support/recording_library.h"

#include <gmock/gmock.h>

#include <sstream>

namespace setip::posdll {
namespace {

using testing_support::RecordingLibrary;

const std::string recording = SETIP_RECORDING_LIBRARY;
const std::string withoutEndDoc = SETIP_RECORDING_LIBRARY_WITHOUT_END_DOC;

// Every port kind, a failed open and a thousand presses go through the stand-in in tests/win32, where a vendor
// library is chosen; here the binding by dlopen, and what a press must not trust a vendor library with.
TEST(BoundPress, RefusesWhenSelectedALibraryThatIsMissingOrLacksAnEntry) {
    EXPECT_THAT([] { bindVendorLibrary("/nonexistent/libsetip-pos.so"); },
                testing::ThrowsMessage<BindFailure>(
                    "cannot load the printer library /nonexistent/libsetip-pos.so: /nonexistent/libsetip-pos.so: "
                    "cannot open shared object file: No such file or directory"));
    EXPECT_THAT([] { bindVendorLibrary(withoutEndDoc); },
                testing::ThrowsMessage<BindFailure>("the printer library " + withoutEndDoc +
                                                    " has no entry POS_EndDoc, so it cannot be used"));
}

// The in-process recording library takes the calls the built-in one would; the bound library must see the same.
TEST(BoundPress, TakesTheCallsOfTheBuiltInOneReadsNoResultAndLendsNoNameBuffer) {
    const auto library = bindVendorLibrary(recording);
    // The stand-in's own record, reached through a second load of the same file.
    const auto loaded = loadSharedLibrary(recording);
    RecordingLibrary& bound = *reinterpret_cast<RecordingLibrary* (*)()>(loaded->find("recording"))();
    RecordingLibrary inProcess;
    bound.endDocResult = -1;  // means nothing from a vendor library, so nothing is told
    testing_support::RecordingMessages messages;
    std::ostringstream diagnostics;
    const WindowInputs serial{u"COM1", u"", u"", u"19200", u"192.168.123.100"};

    EXPECT_EQ(pressSetIp(serial, *library, messages, diagnostics), 7);
    pressSetIp(serial, inProcess, messages, diagnostics);
    EXPECT_EQ(bound.calls, inProcess.calls);
    EXPECT_EQ(inProcess.calls.size(), 5u);
    EXPECT_TRUE(messages.shown.empty());
    // Vendor libraries may scribble on the name buffer they get, so it must be a copy.
    const std::string name = "COM1";
    library->POS_Open(name.c_str(), 9600, 8, 0, 0, 1);
    EXPECT_EQ(name, "COM1");
}

TEST(LibraryChoiceTest, LinuxAlwaysTakesTheBuiltInLibrary) {
    std::ostringstream diagnostics;
    const auto library = choosePrinterLibrary(diagnostics);
    EXPECT_NE(dynamic_cast<native::NativeLibrary*>(library.get()), nullptr);
    EXPECT_EQ(diagnostics.str(), "");
}

}  // namespace
}  // namespace setip::posdll
