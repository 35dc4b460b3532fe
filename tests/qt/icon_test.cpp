#include "tests/qt/shell_command.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace setip {
namespace {

namespace fs = std::filesystem;
using testing_support::quoted;
using testing_support::runCommand;

std::string contentsOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Icon, HoldsExactlyTheEightImagesTheProgramCarries) {
    const auto listed = runCommand("icotool -l " + quoted(SETIP_ICON_DIR "/setip.ico"));
    ASSERT_EQ(listed.exitCode, 0) << "icotool (package icoutils) must be installed: " << listed.output;
    EXPECT_EQ(listed.output,
              "--icon --index=1 --width=16 --height=16 --bit-depth=8 --palette-size=256\n"
              "--icon --index=2 --width=32 --height=32 --bit-depth=8 --palette-size=256\n"
              "--icon --index=3 --width=48 --height=48 --bit-depth=8 --palette-size=256\n"
              "--icon --index=4 --width=16 --height=16 --bit-depth=32 --palette-size=0\n"
              "--icon --index=5 --width=32 --height=32 --bit-depth=32 --palette-size=0\n"
              "--icon --index=6 --width=48 --height=48 --bit-depth=32 --palette-size=0\n"
              "--icon --index=7 --width=32 --height=32 --bit-depth=1 --palette-size=2\n"
              "--icon --index=8 --width=48 --height=48 --bit-depth=4 --palette-size=16\n");
}

struct DrawnFile {
    const char* name;
    friend void PrintTo(const DrawnFile& row, std::ostream* out) { *out << row.name; }
};

class RedrawnIcon : public ::testing::TestWithParam<DrawnFile> {};

// The committed files are what the art program draws now: an art change that was not redrawn fails here.
TEST_P(RedrawnIcon, MatchesTheCommittedFileByteForByte) {
    const fs::path directory = fs::temp_directory_path() / ("setip-icon-" + std::to_string(::getpid()));
    const auto drawn = runCommand(quoted(SETIP_DRAW_ICON) + " " + quoted(directory.string()));
    ASSERT_EQ(drawn.exitCode, 0) << drawn.output;
    const std::string fresh = contentsOf(directory / GetParam().name);
    fs::remove_all(directory);
    const std::string committed = contentsOf(fs::path{SETIP_ICON_DIR} / GetParam().name);
    ASSERT_FALSE(committed.empty());
    EXPECT_TRUE(fresh == committed) << "redraw with: cmake --build --preset default --target setip_redraw_icon";
}

INSTANTIATE_TEST_SUITE_P(Icon, RedrawnIcon,
                         ::testing::Values(DrawnFile{"setip.ico"}, DrawnFile{"setip-16.png"}, DrawnFile{"setip-32.png"},
                                           DrawnFile{"setip-48.png"}, DrawnFile{"setip-64.png"},
                                           DrawnFile{"setip-128.png"}),
                         testing_support::RowName{});

}  // namespace
}  // namespace setip
