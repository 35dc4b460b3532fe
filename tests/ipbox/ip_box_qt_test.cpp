#include "ipbox/qt/address_part.h"
#include "ipbox/qt/ip_box_widget.h"
#include "tests/ipbox/typing_rows.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include <string_view>

namespace setip::qt {
namespace {

// Assigning and reading back is checked by the consumer project (tests/ipbox/consumer).
TEST(IpBoxWidget, TheFieldCoversTheBoxAfterAResize) {
    IpBox box;
    box.show();
    box.resize(260, 24);
    EXPECT_EQ(box.childrenRect(), QRect(0, 0, 260, 24));
}

class IpBoxTyping : public testing::TestWithParam<testing_support::TypingRow> {};

TEST_P(IpBoxTyping, KeystrokesIntoABlankFieldGiveTheAddress) {
    IpBox box;
    const auto parts = box.findChildren<AddressPart*>();
    ASSERT_EQ(parts.size(), 4);
    for (AddressPart* part : parts) part->clear();
    parts.front()->setFocus();
    QGuiApplication::clipboard()->setText(QString::fromUtf8(GetParam().clipboard));
    for (const char key : std::string_view{GetParam().keys}) {
        QWidget* focus = box.focusWidget();
        switch (key) {
            case '<': QTest::keyClick(focus, Qt::Key_Left); break;
            case '>': QTest::keyClick(focus, Qt::Key_Right); break;
            case '^': QTest::keyClick(focus, Qt::Key_V, Qt::ControlModifier); break;
            default: QTest::keyClick(focus, key);  // \b is Backspace
        }
    }
    EXPECT_EQ(box.address().toStdString(), GetParam().address);
}

// The same rows as the Windows suite's over the system's field.
INSTANTIATE_TEST_SUITE_P(Rows, IpBoxTyping, testing::ValuesIn(testing_support::typingRows),
    testing_support::RowName{});

}  // namespace
}  // namespace setip::qt

int main(int argc, char** argv) {
    // Headless unless the caller chose a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
