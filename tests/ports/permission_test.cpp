#include "printer/native/native_library.h"
#include "tests/ports/pseudo_terminal.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>
#include <grp.h>
#include <sys/types.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
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

// Runs in a child of the test: gives up root for nobody, opens, and exits 0 only when the reason is the expected
// one; otherwise it prints what it saw, which the test then shows.
[[noreturn]] void openAsNobody(const std::string& name, std::int32_t openMode, bool openTwice,
                               const std::string& expected) {
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() == 0 && (nobody == nullptr || ::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 ||
                             ::setuid(nobody->pw_uid) != 0 || ::geteuid() == 0)) {
        std::fprintf(stderr, "cannot become nobody\n");
        std::_Exit(2);
    }
    native::NativeLibrary first;
    native::NativeLibrary second;
    std::string seen = "opened";
    if (first.POS_Open(name.c_str(), 9600, 8, 0, 0, openMode) == failedHandle) {
        seen = first.failureReason();
    } else if (openTwice && second.POS_Open(name.c_str(), 9600, 8, 0, 0, openMode) == failedHandle) {
        seen = second.failureReason();
    }
    std::fprintf(stderr, "saw: %s\n", seen.c_str());
    std::fflush(stderr);
    std::_Exit(seen == expected ? 0 : 1);
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

    std::string path = line.path;
    if (row.device == Device::rootOnlyFile) {
        path = (dir / "lp0").string();
        std::ofstream{path}.close();
        ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    } else {
        const group* dialout = ::getgrnam("dialout");
        const passwd* nobody = ::getpwnam("nobody");
        ASSERT_NE(dialout, nullptr) << "the dialout group is missing";
        ASSERT_NE(nobody, nullptr) << "the user nobody is missing";
        const bool ownedByDialout = row.device == Device::dialoutLine;
        ASSERT_EQ(::fchown(line.near.get(), ownedByDialout ? 0 : nobody->pw_uid,
                           ownedByDialout ? dialout->gr_gid : nobody->pw_gid), 0);
        ASSERT_EQ(::fchmod(line.near.get(), ownedByDialout ? 0660 : 0600), 0);
    }
    std::string reason = row.reason;
    reason.replace(reason.find("%s"), 2, path);
    const bool serial = row.device != Device::rootOnlyFile;

    EXPECT_EXIT(openAsNobody((serial ? "COM:" : "LPT:") + path, serial ? 1 : 18, row.device == Device::lineInUse,
                             reason),
                testing::ExitedWithCode(0), "saw: ");
    fs::remove_all(dir);
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
