#include "ipbox/qt/address_part.h"
#include "ipbox/qt/ip_box_widget.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

namespace setip::qt {
namespace {

// Assigning and reading back is checked by the consumer project (tests/ipbox/consumer).
TEST(IpBoxWidget, TheFieldCoversTheBoxAfterAResize) {
    IpBox box;
    box.show();
    box.resize(260, 24);
    EXPECT_EQ(box.childrenRect(), QRect(0, 0, 260, 24));
}

struct Typing {
    const char* name;
    const char* keys;  // \b is backspace
    const char* address;
};

class IpBoxTyping : public testing::TestWithParam<Typing> {};

TEST_P(IpBoxTyping, KeystrokesIntoABlankFieldGiveTheAddress) {
    IpBox box;
    const auto parts = box.findChildren<AddressPart*>();
    ASSERT_EQ(parts.size(), 4);
    for (AddressPart* part : parts) part->clear();
    parts.front()->setFocus();
    for (const char* key = GetParam().keys; *key != 0; ++key) QTest::keyClick(box.focusWidget(), *key);
    EXPECT_EQ(box.address(), GetParam().address);
}

INSTANTIATE_TEST_SUITE_P(Rows, IpBoxTyping, testing::Values(
    Typing{"dots move to the next part", "10.0.0.7", "10.0.0.7"},
    Typing{"a digit making the part over 255 is refused", "300.1", "30.1.0.0"},
    Typing{"backspace in an empty part goes back", "1.2\b\b5", "15.0.0.0"},
    Typing{"four blank parts read as 0", "", "0.0.0.0"}),
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
