#include "printer/library_choice.h"
#include "printer/native/native_library.h"
#include "printer/posdll/shared_library.h"
#include "printer/posdll/vendor_library.h"
#include "printer/press.h"
#include "tests/support/table.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <sstream>

namespace setip::posdll {
namespace {

// The test library's own record, reached through a second handle on the same loaded copy.
class Record {
public:
    Record() : handle_(::dlopen(SETIP_RECORDING_LIBRARY, RTLD_NOW | RTLD_NOLOAD)) {
        if (handle_ == nullptr) throw std::runtime_error("the recording library is not loaded");
        calls_ = reinterpret_cast<const char* (*)()>(::dlsym(handle_, "recordedCalls"));
        clear_ = reinterpret_cast<void (*)()>(::dlsym(handle_, "clearRecord"));
        openResult_ = reinterpret_cast<void (*)(std::int32_t)>(::dlsym(handle_, "setOpenResult"));
        clear_();
    }
    ~Record() { ::dlclose(handle_); }
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;

    std::string calls() const { return calls_(); }
    void openGives(std::int32_t handle) const { openResult_(handle); }

private:
    void* handle_;
    const char* (*calls_)() = nullptr;
    void (*clear_)() = nullptr;
    void (*openResult_)(std::int32_t) = nullptr;
};

class NoMessages final : public OperatorMessages {
public:
    int shown = 0;
    void showError(TextView, TextView) override { ++shown; }
};

std::string sendSequence(const std::string& open, const std::string& handle) {
    return open + "\nPOS_StartDoc()\nPOS_WriteFile(" + handle +
           ", 1F 1B 1F 91 00 49 50 C0 A8 7B 64, 11)\nPOS_EndDoc()\nPOS_Close()\n";
}

struct BoundPress {
    const char* name;
    WindowInputs inputs;
    std::int32_t openResult;
    std::string calls;
};

void PrintTo(const BoundPress& row, std::ostream* out) { *out << row.name; }

class BoundPressTest : public testing::TestWithParam<BoundPress> {};

TEST_P(BoundPressTest, LibraryBoundByNameTakesTheCallsOfTheBuiltInOne) {
    const auto& row = GetParam();
    const auto library = bindVendorLibrary(SETIP_RECORDING_LIBRARY);
    const Record record;
    record.openGives(row.openResult);
    NoMessages messages;
    std::ostringstream diagnostics;

    EXPECT_EQ(pressSetIp(row.inputs, *library, messages, diagnostics), row.openResult);
    EXPECT_EQ(record.calls(), row.calls);
    EXPECT_EQ(messages.shown, row.openResult == failedHandle ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, BoundPressTest, testing::Values(
    BoundPress{"network", {u"ETHERNET", u" 127.0.0.5", u"", u"", u"192.168.123.100"}, 7,
               sendSequence("POS_Open(\" 127.0.0.5\", 0, 0, 0, 0, 21)", "7")},
    BoundPress{"serial", {u"COM1", u"", u"", u"19200", u"192.168.123.100"}, 7,
               sendSequence("POS_Open(\"COM1\", 19200, 8, 0, 0, 1)", "7")},
    BoundPress{"parallel", {u"LPT2", u"", u"", u"", u"192.168.123.100"}, 7,
               sendSequence("POS_Open(\"LPT2\", 0, 0, 0, 0, 18)", "7")},
    BoundPress{"driver", {u"DRIVER", u"", u"Receipt", u"", u"192.168.123.100"}, 7,
               sendSequence("POS_Open(\"Receipt\", 0, 0, 0, 0, 20)", "7")},
    BoundPress{"handle 0 counts as open", {u"LPT1", u"", u"", u"", u"192.168.123.100"}, 0,
               sendSequence("POS_Open(\"LPT1\", 0, 0, 0, 0, 18)", "0")},
    BoundPress{"failed open is never closed", {u"COM3", u"", u"", u"9600", u"192.168.123.100"}, -1,
               "POS_Open(\"COM3\", 9600, 8, 0, 0, 1)\n"}),
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
