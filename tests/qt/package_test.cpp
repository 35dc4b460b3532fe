#include "tests/qt/shell_command.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace setip {
namespace {

namespace fs = std::filesystem;
using testing_support::quoted;
using testing_support::runCommand;

// The .deb a user installs: the program, its desktop entry and icons, and the libraries it needs to start.
TEST(Package, TheDebCarriesTheProgramAndNamesItsLibraries) {
    const fs::path directory = fs::temp_directory_path() / ("setip-deb-" + std::to_string(::getpid()));
    const auto built = runCommand("cd " + quoted(SETIP_BUILD_DIR) + " && cpack -G DEB -B " + quoted(directory.string()));
    ASSERT_EQ(built.exitCode, 0) << "cpack and dpkg-shlibdeps (package dpkg-dev) must work: " << built.output;
    fs::path package;
    for (const auto& entry : fs::directory_iterator(directory)) {
        if (entry.path().extension() == ".deb") package = entry.path();
    }
    ASSERT_EQ(package.filename().string().rfind("setip_" SETIP_VERSION "_", 0), 0u) << built.output;
    const std::string deb = quoted(package.string());
    const auto depends = runCommand("dpkg-deb -f " + deb + " Depends");
    const auto contents = runCommand("dpkg-deb -c " + deb + " | awk '{print $NF}'");
    fs::remove_all(directory);

    ASSERT_EQ(depends.exitCode, 0) << depends.output;
    for (const char* library : {"libqt6widgets6", "libqt6gui6", "libcups2", "libstdc++6"}) {
        EXPECT_NE(depends.output.find(library), std::string::npos) << library << " missing from " << depends.output;
    }
    for (const char* path : {"./usr/bin/setip", "./usr/share/applications/setip.desktop",
                             "./usr/share/icons/hicolor/16x16/apps/setip.png",
                             "./usr/share/icons/hicolor/48x48/apps/setip.png",
                             "./usr/share/icons/hicolor/128x128/apps/setip.png"}) {
        EXPECT_NE(contents.output.find(std::string{path} + "\n"), std::string::npos) << path << " not packed";
    }
    EXPECT_EQ(contents.output.find("/include/"), std::string::npos) << "no development files in the program's package";

    const auto entry = runCommand("desktop-file-validate " + quoted(SETIP_DESKTOP_FILE));
    EXPECT_EQ(entry.exitCode, 0) << "desktop-file-validate (package desktop-file-utils): " << entry.output;
    EXPECT_EQ(entry.output, "");
}

}  // namespace
}  // namespace setip
