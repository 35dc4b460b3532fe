#include "printer/native/native_library.h"
#include "tests/ports/as_nobody.h"
#include "tests/ports/pseudo_terminal.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace setip {
namespace {

namespace fs = std::filesystem;

// These cases are only real without root, which passes every permission check and ignores exclusive use, so each
// open runs in a child that has become nobody. In CI the tests run as root, and the child still drops it.
enum class Device { rootOnlyFile, dialoutLine, lineInUse };

struct Refusal {
    const char* name;
    Device device;
    std::string reason;  // "%s" stands for the device path
};

void PrintTo(const Refusal& row, std::ostream* out) { *out << row.name; }

std::string openAsNobody(const std::string& name, std::int32_t openMode, bool openTwice) {
    return testing_support::runAsNobody([&] {
        native::NativeLibrary first;
        native::NativeLibrary second;
        if (first.POS_Open(name.c_str(), 9600, 8, 0, 0, openMode) == failedHandle) return first.failureReason();
        if (!openTwice) return std::string{"opened"};
        if (second.POS_Open(name.c_str(), 9600, 8, 0, 0, openMode) == failedHandle) return second.failureReason();
        return std::string{"opened twice"};
    });
}

class PermissionTest : public testing::TestWithParam<Refusal> {};

TEST_P(PermissionTest, GivesMinusOneWithTheReasonAsAPlainUser) {
    const auto& row = GetParam();
    std::string pattern = (fs::temp_directory_path() / "setip-perm.XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path dir{pattern};
    fs::permissions(dir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec);
    testing_support::PseudoTerminal line;

    std::string path;
    std::string seen;
    if (row.device == Device::rootOnlyFile) {
        path = (dir / "lp0").string();
        std::ofstream{path}.close();
        ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
        seen = openAsNobody("LPT:" + path, 18, false);
    } else {
        path = line.path;
        const group* dialout = ::getgrnam("dialout");
        const passwd* nobody = ::getpwnam("nobody");
        ASSERT_NE(dialout, nullptr) << "the dialout group is missing";
        ASSERT_NE(nobody, nullptr) << "the user nobody is missing";
        if (row.device == Device::dialoutLine) {
            ASSERT_EQ(::fchown(line.near.get(), 0, dialout->gr_gid), 0);
            ASSERT_EQ(::fchmod(line.near.get(), 0660), 0);
        } else {
            ASSERT_EQ(::fchown(line.near.get(), nobody->pw_uid, nobody->pw_gid), 0);
            ASSERT_EQ(::fchmod(line.near.get(), 0600), 0);
        }
        seen = openAsNobody("COM:" + path, 1, row.device == Device::lineInUse);
    }
    fs::remove_all(dir);

    std::string reason = row.reason;
    reason.replace(reason.find("%s"), 2, path);
    EXPECT_EQ(seen, reason);
}

INSTANTIATE_TEST_SUITE_P(PlainUser, PermissionTest, testing::Values(
    Refusal{"device only root may write", Device::rootOnlyFile,
            "cannot open %s: Permission denied (it belongs to group root: add the user to that group and log in "
            "again)"},
    Refusal{"serial line of the dialout group", Device::dialoutLine,
            "cannot open %s: Permission denied (it belongs to group dialout: add the user to that group and log in "
            "again)"},
    Refusal{"serial line already in exclusive use", Device::lineInUse, "cannot open %s: Device or resource busy"}),
    testing_support::RowName{});

}  // namespace
}  // namespace setip
