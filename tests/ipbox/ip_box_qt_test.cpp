#include "common/error.h"
#include "ipbox/qt/ip_box_widget.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>

namespace setip::qt {
namespace {

// The newest address field inside the box: the one the control drives.
AddressField& fieldOf(QWidget& box) {
    AddressField* newest = nullptr;
    for (QObject* child : box.children()) {
        if (auto* field = dynamic_cast<AddressField*>(child)) newest = field;
    }
    if (newest == nullptr) throw std::runtime_error("the box has no address field");
    return *newest;
}

QString partsOf(QWidget& box) {
    QStringList parts;
    for (std::size_t index = 0; index < 4; ++index) parts << fieldOf(box).part(index).text();
    return parts.join(u'|');
}

TEST(IpBoxWidget, AssignsAndReadsThroughTheField) {
    IpBox box;
    EXPECT_EQ(partsOf(box), u"192|168|123|100");
    box.setAddress(QStringLiteral("010.001.000.009"));
    EXPECT_EQ(partsOf(box), u"10|1|0|9");
    EXPECT_EQ(box.address(), u"10.1.0.9");
    EXPECT_THROW(box.setAddress(QStringLiteral("1.2.3")), Error);
    EXPECT_EQ(partsOf(box), u"10|1|0|9");
    for (std::size_t index = 0; index < 4; ++index) fieldOf(box).part(index).clear();
    EXPECT_EQ(box.address(), u"0.0.0.0");
}

struct Typing {
    const char* name;
    const char16_t* keys;  // \b is backspace
    const char16_t* address;
};

class IpBoxTyping : public testing::TestWithParam<Typing> {};

TEST_P(IpBoxTyping, KeystrokesGiveTheAddress) {
    IpBox box;
    for (std::size_t index = 0; index < 4; ++index) fieldOf(box).part(index).clear();
    fieldOf(box).part(0).setFocus();
    for (const char16_t* key = GetParam().keys; *key != 0; ++key) {
        QWidget* focused = box.focusWidget();
        ASSERT_NE(focused, nullptr);
        if (*key == u'\b') {
            QTest::keyClick(focused, Qt::Key_Backspace);
        } else {
            QTest::keyClick(focused, static_cast<char>(*key));
        }
    }
    EXPECT_EQ(box.address(), QString::fromUtf16(GetParam().address));
}

INSTANTIATE_TEST_SUITE_P(Rows, IpBoxTyping, testing::Values(
    Typing{"dots move to the next part", u"10.0.0.7", u"10.0.0.7"},
    Typing{"spaces move to the next part", u"1 2 3 4", u"1.2.3.4"},
    Typing{"a digit making the part over 255 is refused", u"300.1", u"30.1.0.0"},
    Typing{"letters are refused", u"1a2", u"12.0.0.0"},
    Typing{"backspace in an empty part goes back", u"1.2\b\b5", u"15.0.0.0"},
    Typing{"a dot in the last part stays there", u"1.2.3.4.5", u"1.2.3.45"},
    Typing{"skipped parts read as 0", u"..7", u"0.0.7.0"}),
    testing_support::RowName{});

TEST(IpBoxWidget, TheFieldCoversTheBoxAfterAResize) {
    IpBox box;
    box.show();
    EXPECT_EQ(fieldOf(box).geometry(), QRect(0, 0, 132, 19));
    box.resize(301, 27);
    EXPECT_EQ(fieldOf(box).geometry(), QRect(0, 0, 301, 27));
}

TEST(IpBoxWidget, TheQtPlatformIgnoresUnknownClassesParentsAndGoneWindows) {
    QWidget parent;
    QtPlatform platform;
    const WindowHandle parentHandle = platform.handleOf(&parent);
    const auto create = [&](const char* className, WindowHandle parentWindow) {
        return platform.CreateWindowExA(0, className, "", 0x50810000, 0, 0, 10, 10, parentWindow, 0, 0, nullptr);
    };
    EXPECT_EQ(create("Edit", parentHandle), 0);
    EXPECT_EQ(create("SysIPAddress32", parentHandle + 1), 0);
    const WindowHandle field = create("SysIPAddress32", parentHandle);
    std::uint32_t packed = 0;
    EXPECT_EQ(platform.SendMessageA(field, 1125, 0, 0x0A000007), 1);
    EXPECT_EQ(platform.SendMessageA(field, 1126, 0, reinterpret_cast<LParam>(&packed)), 4);
    EXPECT_EQ(packed, 0x0A000007u);
    delete platform.windowOf(field);
    EXPECT_EQ(platform.SendMessageA(field, 1126, 0, reinterpret_cast<LParam>(&packed)), 0);
    EXPECT_FALSE(platform.MoveWindow(field, 0, 0, 5, 5, true));
}

TEST(IpBoxWidget, GrabIsSavedForALook) {
    QWidget window;
    window.setFixedSize(280, 60);
    IpBox small(&window);
    small.move(10, 8);
    IpBox wide(&window);
    wide.setGeometry(10, 32, 260, 24);
    wide.setAddress(QStringLiteral("10.0.0.7"));
    window.show();
    const QImage image = window.grab().toImage();
    ASSERT_TRUE(image.save(QStringLiteral(SETIP_IPBOX_GRAB)));
    int dark = 0;  // text pixels inside the wide box's frame: none when no font could be found
    for (int x = 14; x < 266; ++x) {
        for (int y = 36; y < 52; ++y) dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    }
    EXPECT_GT(dark, 20);
}

}  // namespace
}  // namespace setip::qt

int main(int argc, char** argv) {
    // Headless unless the caller chose a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
