#include "tests/qt/shell_command.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

namespace setip {
namespace {

using testing_support::quoted;
using testing_support::runCommand;

// The run command with no display: the built program on an Xvfb of its own, captured to the build tree.
TEST(Screenshot, ShowsTheWindowOnXvfbAndSavesIt) {
    const std::string shot = SETIP_SCREENSHOT;
    const auto shown = runCommand("env -u DISPLAY " + quoted(SETIP_SHOW_WINDOW) + " " + quoted(SETIP_PROGRAM) + " " +
                                  quoted(shot));
    ASSERT_EQ(shown.exitCode, 0) << shown.output;
    EXPECT_NE(shown.output.find(shot), std::string::npos) << "it says where: " << shown.output;

    const QImage image{QString::fromStdString(shot)};
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(387, 129)) << "the client area, 5805 x 1935 twips at 96 DPI";
    // An empty corner shows the window's own colour; the end of the present-address box, past its text, is the
    // lighter colour of an enabled text box, so the controls were drawn where they belong.
    const QColor background = image.pixelColor(380, 125);
    const QColor textBox = image.pixelColor(147, 45);
    EXPECT_GT(textBox.lightness(), background.lightness());
    const QColor disabledList = image.pixelColor(100, 72);  // Combo2, disabled after start-up
    EXPECT_LT(std::abs(disabledList.lightness() - background.lightness()), 16)
        << "a disabled list is drawn in the window's colour, not as an input";
}

}  // namespace
}  // namespace setip
