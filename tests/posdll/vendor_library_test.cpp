#include "printer/library_choice.h"
#include "printer/native/native_library.h"
#include "printer/posdll/shared_library.h"
#include "printer/posdll/vendor_library.h"
#include "tests/support/recording_library.h"
#include "tests/support/table.h"

#include <gmock/gmock.h>

#include <sstream>

namespace setip::posdll {
namespace {

using testing_support::RecordingLibrary;

const Text newAddress = u"192.168.123.100";  // the new address set, never one connected to

struct BoundPress {
    const char* name;
    std::string file;
    WindowInputs inputs;
    std::int32_t openResult;
    std::string refusal;  // why the library is refused when selected; "" when it is taken
    friend void PrintTo(const BoundPress& row, std::ostream* out) { *out << row.name; }
};

class BoundPressTest : public testing::TestWithParam<BoundPress> {};

// The in-process recording library takes the calls the built-in one would; the bound library must see the same.
TEST_P(BoundPressTest, IsRefusedWhenSelectedOrTakesTheCallsOfTheBuiltInOne) {
    const auto& row = GetParam();
    if (!row.refusal.empty()) {
        EXPECT_THAT([&] { bindVendorLibrary(row.file); }, testing::ThrowsMessage<BindFailure>(row.refusal));
        return;
    }
    const auto library = bindVendorLibrary(row.file);
    // The test library's own record, reached through a second load of the same file.
    const auto loaded = loadSharedLibrary(row.file);
    RecordingLibrary& bound = *reinterpret_cast<RecordingLibrary* (*)()>(loaded->find("recording"))();
    RecordingLibrary inProcess;
    bound.calls.clear();
    bound.openResult = inProcess.openResult = row.openResult;
    bound.endDocResult = -1;  // means nothing from a vendor library, so nothing is told
    testing_support::RecordingMessages messages;
    std::ostringstream diagnostics;

    EXPECT_EQ(pressSetIp(row.inputs, *library, messages, diagnostics), row.openResult);
    pressSetIp(row.inputs, inProcess, messages, diagnostics);
    EXPECT_EQ(bound.calls, inProcess.calls);
    EXPECT_EQ(inProcess.calls.size(), row.openResult == failedHandle ? 1u : 5u);
    EXPECT_EQ(messages.shown.size(), row.openResult == failedHandle ? 2u : 0u);
    // Vendor libraries may scribble on the name buffer they get, so it must be a copy.
    const std::string name = "COM1";
    library->POS_Open(name.c_str(), 9600, 8, 0, 0, 1);
    EXPECT_EQ(name, "COM1");
}

const std::string recording = SETIP_RECORDING_LIBRARY;
const std::string withoutEndDoc = SETIP_RECORDING_LIBRARY_WITHOUT_END_DOC;

INSTANTIATE_TEST_SUITE_P(Kinds, BoundPressTest, testing::ValuesIn(std::vector<BoundPress>{
    {"network", recording, {u"ETHERNET", u" 127.0.0.5", u"", u"", newAddress}, 7, ""},
    {"serial", recording, {u"COM1", u"", u"", u"19200", newAddress}, 7, ""},
    {"parallel with handle 0", recording, {u"LPT2", u"", u"", u"", newAddress}, 0, ""},
    {"driver", recording, {u"DRIVER", u"", u"Receipt", u"", newAddress}, 7, ""},
    {"failed open is never closed", recording, {u"COM3", u"", u"", u"9600", newAddress}, failedHandle, ""},
    {"missing library file", "/nonexistent/libsetip-pos.so", {}, 0,
     "cannot load the printer library /nonexistent/libsetip-pos.so: /nonexistent/libsetip-pos.so: cannot open shared "
     "object file: No such file or directory"},
    {"library without POS_EndDoc", withoutEndDoc, {}, 0,
     "the printer library " + withoutEndDoc + " has no entry POS_EndDoc, so it cannot be used"}}),
    testing_support::RowName{});

TEST(LibraryChoiceTest, LinuxAlwaysTakesTheBuiltInLibrary) {
    std::ostringstream diagnostics;
    const auto library = choosePrinterLibrary(diagnostics);
    EXPECT_NE(dynamic_cast<native::NativeLibrary*>(library.get()), nullptr);
    EXPECT_EQ(diagnostics.str(), "");
}

}  // namespace
}  // namespace setip::posdll
