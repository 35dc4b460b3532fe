#include "printer/library_choice.h"
#include "printer/native/native_library.h"
#include "printer/posdll/shared_library.h"
#include "printer/posdll/vendor_library.h"
#include "printer/press.h"
#include "tests/support/recording_library.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>

#include <sstream>

namespace setip::posdll {
namespace {

// The test library's own record, read through a second load of the same copy.
class Record {
public:
    Record() : library_(loadSharedLibrary(SETIP_RECORDING_LIBRARY)) { entry<void (*)()>("clearRecord")(); }

    std::string calls() const { return entry<const char* (*)()>("recordedCalls")(); }
    void openGives(std::int32_t handle) const { entry<void (*)(std::int32_t)>("setOpenResult")(handle); }

private:
    template <typename Function>
    Function entry(const char* name) const {
        return reinterpret_cast<Function>(library_->find(name));
    }

    std::unique_ptr<SharedLibrary> library_;
};

const Text newAddress = u"192.168.123.100";  // the new address set, never one connected to

struct BoundPress {
    const char* name;
    WindowInputs inputs;
    std::int32_t openResult;
};

void PrintTo(const BoundPress& row, std::ostream* out) { *out << row.name; }

class BoundPressTest : public testing::TestWithParam<BoundPress> {};

// The in-process recording library takes the calls the built-in one would; the bound library must see the same.
TEST_P(BoundPressTest, LibraryBoundByNameTakesTheCallsOfTheBuiltInOne) {
    const auto& row = GetParam();
    const auto library = bindVendorLibrary(SETIP_RECORDING_LIBRARY);
    const Record record;
    record.openGives(row.openResult);
    testing_support::RecordingLibrary inProcess;
    inProcess.openResult = row.openResult;
    testing_support::RecordingMessages messages;
    std::ostringstream diagnostics;

    EXPECT_EQ(pressSetIp(row.inputs, *library, messages, diagnostics), row.openResult);
    pressSetIp(row.inputs, inProcess, messages, diagnostics);

    std::string expected;
    for (const auto& call : inProcess.calls) expected += call + "\n";
    EXPECT_EQ(record.calls(), expected);
    EXPECT_NE(expected.find(row.openResult == failedHandle ? "POS_Open" : "POS_Close"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Kinds, BoundPressTest, testing::Values(
    BoundPress{"network", {u"ETHERNET", u" 127.0.0.5", u"", u"", newAddress}, 7},
    BoundPress{"serial", {u"COM1", u"", u"", u"19200", newAddress}, 7},
    BoundPress{"parallel", {u"LPT2", u"", u"", u"", newAddress}, 7},
    BoundPress{"driver", {u"DRIVER", u"", u"Receipt", u"", newAddress}, 7},
    BoundPress{"handle 0 counts as open", {u"LPT1", u"", u"", u"", newAddress}, 0},
    BoundPress{"failed open is never closed", {u"COM3", u"", u"", u"9600", newAddress}, -1}),
    testing_support::RowName{});

TEST(VendorLibraryTest, NameBufferTheLibraryScribblesOnIsACopy) {
    const auto library = bindVendorLibrary(SETIP_RECORDING_LIBRARY);
    const Record record;
    const std::string name = "COM1";

    library->POS_Open(name.c_str(), 9600, 8, 0, 0, 1);

    EXPECT_EQ(name, "COM1");
}

struct Refusal {
    const char* name;
    std::string file;
    std::string reason;
};

void PrintTo(const Refusal& row, std::ostream* out) { *out << row.name; }

class RefusedLibraryTest : public testing::TestWithParam<Refusal> {};

TEST_P(RefusedLibraryTest, IsRefusedWhenSelectedWithTheReason) {
    try {
        bindVendorLibrary(GetParam().file);
        FAIL() << "the library was taken";
    } catch (const BindFailure& failure) {
        EXPECT_EQ(failure.what(), GetParam().reason);
    }
}

INSTANTIATE_TEST_SUITE_P(Libraries, RefusedLibraryTest, testing::Values(
    Refusal{"missing file", "/nonexistent/libsetip-pos.so",
            "cannot load the printer library /nonexistent/libsetip-pos.so: /nonexistent/libsetip-pos.so: cannot "
            "open shared object file: No such file or directory"},
    Refusal{"library without POS_EndDoc", SETIP_RECORDING_LIBRARY_WITHOUT_END_DOC,
            std::string{"the printer library "} + SETIP_RECORDING_LIBRARY_WITHOUT_END_DOC +
                " has no entry POS_EndDoc, so it cannot be used"}),
    testing_support::RowName{});

TEST(LibraryChoiceTest, LinuxAlwaysTakesTheBuiltInLibrary) {
    std::ostringstream diagnostics;
    const auto library = choosePrinterLibrary(diagnostics);
    EXPECT_NE(dynamic_cast<native::NativeLibrary*>(library.get()), nullptr);
    EXPECT_EQ(diagnostics.str(), "");
}

}  // namespace
}  // namespace setip::posdll
