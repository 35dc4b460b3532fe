// What reaches the operator besides the window itself: the icon, and the window under Xvfb. (scripts/test-release
// checks the packages.)
#include <QImage>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace setip {
namespace {

namespace fs = std::filesystem;

// Runs a shell command line to its end and gives its exit code (-1 when it did not end normally) and its
// standard output and error together. The commands run here bound their own waits.
std::pair<int, std::string> run(const std::string& command) {
    std::pair<int, std::string> ran{-1, ""};
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return ran;
    char buffer[512];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) ran.second.append(buffer, got);
    const int status = ::pclose(pipe);
    if (WIFEXITED(status)) ran.first = WEXITSTATUS(status);
    return ran;
}

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

TEST(Icon, HoldsExactlyTheEightImagesTheProgramCarries) {
    const auto [code, listed] = run("icotool -l " + quoted(SETIP_ICON_DIR "/setip.ico"));
    ASSERT_EQ(code, 0) << "icotool (package icoutils) must be installed: " << listed;
    EXPECT_EQ(listed,
              "--icon --index=1 --width=16 --height=16 --bit-depth=8 --palette-size=256\n"
              "--icon --index=2 --width=32 --height=32 --bit-depth=8 --palette-size=256\n"
              "--icon --index=3 --width=48 --height=48 --bit-depth=8 --palette-size=256\n"
              "--icon --index=4 --width=16 --height=16 --bit-depth=32 --palette-size=0\n"
              "--icon --index=5 --width=32 --height=32 --bit-depth=32 --palette-size=0\n"
              "--icon --index=6 --width=48 --height=48 --bit-depth=32 --palette-size=0\n"
              "--icon --index=7 --width=32 --height=32 --bit-depth=1 --palette-size=2\n"
              "--icon --index=8 --width=48 --height=48 --bit-depth=4 --palette-size=16\n");
}

// The committed files are what the art program draws now: an art change that was not redrawn fails here.
TEST(Icon, TheCommittedFilesAreWhatTheArtProgramDraws) {
    const fs::path drawn = fs::temp_directory_path() / ("setip-icon-" + std::to_string(::getpid()));
    const auto [code, differences] = run(quoted(SETIP_DRAW_ICON) + " " + quoted(drawn) + " && diff -r " +
                                         quoted(drawn) + " " + quoted(SETIP_ICON_DIR));
    fs::remove_all(drawn);
    EXPECT_EQ(code, 0) << differences << "redraw with the target setip_redraw_icon";
}

// The run command with no display: the built program on an Xvfb of its own, captured to the build tree.
TEST(Screenshot, ShowsTheWindowOnXvfbAndSavesIt) {
    const auto [code, output] = run("env -u DISPLAY " + quoted(SETIP_SHOW_WINDOW) + " " + quoted(SETIP_PROGRAM) +
                                    " " + quoted(SETIP_SCREENSHOT));
    ASSERT_EQ(code, 0) << output;
    EXPECT_NE(output.find(SETIP_SCREENSHOT), std::string::npos) << "it says where: " << output;
    EXPECT_EQ(QImage{QStringLiteral(SETIP_SCREENSHOT)}.size(), QSize(387, 129)) << "the client area at 96 DPI";
}

}  // namespace
}  // namespace setip
