#include "printer/native/native_library.h"
#include "tests/native/loopback_peer.h"
#include "tests/qt/qt_environment.h"
#include "tests/qt/window_fixture.h"
#include "tests/support/table.h"
#include "tests/support/recording_library.h"

#include <QApplication>
#include <QMessageBox>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace setip {
namespace {

using testing_support::RecordingLibrary;
using testing_support::ShownWindow;

[[maybe_unused]] auto* const qtEnvironment = ::testing::AddGlobalTestEnvironment(new testing_support::QtEnvironment);

struct GeometryRow {
    const char* name;
    int left, top, width, height;  // twips, as laid out
    friend void PrintTo(const GeometryRow& row, std::ostream* out) { *out << row.name; }
};

class Geometry : public ::testing::TestWithParam<GeometryRow> {};

TEST_P(Geometry, IsTheLayoutInTwipsAtFifteenTwipsAPixel) {
    const GeometryRow& row = GetParam();
    RecordingLibrary library;
    ShownWindow shown{library};
    ASSERT_EQ(shown.window.logicalDpiX(), 96);
    const QWidget& widget = shown.widget<QWidget>(row.name);
    EXPECT_EQ(widget.geometry(), QRect(row.left / 15, row.top / 15, row.width / 15, row.height / 15));
}

INSTANTIATE_TEST_SUITE_P(FormWindow, Geometry,
                         ::testing::Values(GeometryRow{"Label1", 105, 105, 855, 165},
                                           GeometryRow{"Combo1", 1050, 105, 1575, 315},
                                           GeometryRow{"Label2", 105, 525, 255, 210},
                                           GeometryRow{"Label3", 105, 945, 495, 210},
                                           GeometryRow{"Combo2", 735, 945, 1935, 315},
                                           GeometryRow{"Label4", 105, 1365, 750, 210},
                                           GeometryRow{"Combo3", 1020, 1350, 1095, 315},
                                           GeometryRow{"Command5", 3105, 630, 2175, 495},
                                           GeometryRow{"Text1", 765, 540, 1500, 285},
                                           GeometryRow{"Text2", 3420, 270, 1500, 285}),
                         testing_support::RowName{});

TEST(FormWindow, IsAFixedFrameAroundTheClientAreaWithItsCaption) {
    RecordingLibrary library;
    ShownWindow shown{library};
    EXPECT_EQ(shown.window.windowTitle(), QStringLiteral("FrmQuillop"));
    EXPECT_EQ(shown.window.size(), QSize(387, 129));
    EXPECT_EQ(shown.window.minimumSize(), shown.window.maximumSize());
    EXPECT_EQ(shown.combo("Combo1").currentText(), QStringLiteral("ETHERNET"));
    EXPECT_EQ(shown.combo("Combo2").currentText(), QStringLiteral("A"));
    EXPECT_EQ(shown.combo("Combo3").currentText(), QStringLiteral("19200"));
    EXPECT_EQ(shown.combo("Combo1").count(), 14);
}

// The control that has the focus, named as the window's control (an editable list's own line edit counts as it).
QString focusedControl() {
    QWidget* focused = QApplication::focusWidget();
    while (focused != nullptr && focused->objectName().isEmpty()) focused = focused->parentWidget();
    return focused == nullptr ? QString{} : focused->objectName();
}

struct TabRow {
    const char* name;
    int port;  // the Combo1 item picked first
    std::vector<const char*> order;
    friend void PrintTo(const TabRow& row, std::ostream* out) { *out << row.name; }
};

class TabOrder : public ::testing::TestWithParam<TabRow> {};

TEST_P(TabOrder, GoesByTabIndexAndSkipsDisabledControls) {
    const TabRow& row = GetParam();
    RecordingLibrary library;
    ShownWindow shown{library};
    shown.pick("Combo1", row.port);
    shown.combo("Combo1").setFocus();
    QStringList seen{focusedControl()};
    for (std::size_t step = 1; step < row.order.size(); ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        seen << focusedControl();
    }
    QStringList expected;
    for (const char* name : row.order) expected << QString::fromLatin1(name);
    EXPECT_EQ(seen, expected);
}

INSTANTIATE_TEST_SUITE_P(
    FormWindow, TabOrder,
    ::testing::Values(TabRow{"ethernet", 0, {"Combo1", "Command5", "Text1", "Text2", "Combo1"}},
                      TabRow{"serial", 1, {"Combo1", "Combo3", "Command5", "Text2", "Combo1"}},
                      TabRow{"driver", 13, {"Combo1", "Combo2", "Command5", "Text2", "Combo1"}}),
    testing_support::RowName{});

TEST(FormWindow, TheFocusChainHoldsEveryInputInTabIndexOrder) {
    RecordingLibrary library;
    ShownWindow shown{library};
    for (QWidget* widget : shown.window.findChildren<QWidget*>()) widget->setEnabled(true);
    shown.combo("Combo1").setFocus();
    QStringList seen{focusedControl()};
    for (int step = 0; step < 6; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        seen << focusedControl();
    }
    EXPECT_EQ(seen, (QStringList{"Combo1", "Combo2", "Combo3", "Command5", "Text1", "Text2", "Combo1"}));
}

struct Flags {
    bool text1, combo2, combo3;
    friend bool operator==(const Flags&, const Flags&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Flags& f) {
        return out << f.text1 << f.combo2 << f.combo3;
    }
};

TEST(FormWindow, PickingPortsShowsTheEnabledFlagsOnTheWidgets) {
    RecordingLibrary library;
    ShownWindow shown{library};
    const auto flags = [&] {
        return Flags{shown.textBox("Text1").isEnabled(), shown.combo("Combo2").isEnabled(),
                     shown.combo("Combo3").isEnabled()};
    };
    EXPECT_EQ(flags(), (Flags{true, false, false})) << "after start-up";
    shown.pick("Combo1", 3);
    EXPECT_EQ(shown.combo("Combo1").currentText(), QStringLiteral("COM3"));
    EXPECT_EQ(flags(), (Flags{false, false, true}));
    shown.pick("Combo1", 10);
    EXPECT_EQ(flags(), (Flags{false, false, false}));
    shown.pick("Combo1", 13);
    EXPECT_EQ(flags(), (Flags{false, true, false}));
    shown.pick("Combo1", 0);
    EXPECT_EQ(flags(), (Flags{true, false, false}));
    EXPECT_TRUE(shown.textBox("Text2").isEnabled());
    EXPECT_TRUE(shown.button().isEnabled());
}

TEST(FormWindow, TypingIsAChangePickingIsAClickAndTheCaretStays) {
    RecordingLibrary library;
    ShownWindow shown{library};
    FrmTest& form = shown.window.form();
    int clicks = 0;
    int changes = 0;
    form.Combo1.onClick([&, original = form.Combo1.clickHandler()] { ++clicks, original(); });
    form.Combo1.onChange([&, original = form.Combo1.changeHandler()] { ++changes, original(); });

    QLineEdit& typed = *shown.combo("Combo1").lineEdit();
    shown.typeOver(typed, QStringLiteral("COM"));
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(shown.textBox("Text1").isEnabled()) << "COM is serial";
    EXPECT_TRUE(shown.combo("Combo3").isEnabled());

    // An edit in the middle: the model's text follows and the caret stays where the operator left it.
    QTest::keyClick(&typed, Qt::Key_Home);
    QTest::keyClick(&typed, Qt::Key_Right);
    QTest::keyClicks(&typed, QStringLiteral("X"));
    EXPECT_EQ(typed.text(), QStringLiteral("CXOM"));
    EXPECT_EQ(typed.cursorPosition(), 2);
    EXPECT_EQ(form.Combo1.Text(), u"CXOM");
    EXPECT_EQ(changes, 4);

    shown.pick("Combo1", 10);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(changes, 4) << "the text the pick put in the box is not an edit";
    EXPECT_EQ(form.Combo1.Text(), u"LPT1");
    EXPECT_EQ(shown.combo("Combo1").count(), 14) << "typed text never becomes an item";

    // Leaving the box after typing an item's name in other letters neither picks that item nor rewrites the text.
    shown.typeOver(typed, QStringLiteral("com1"));
    QTest::keyClick(&typed, Qt::Key_Tab);
    EXPECT_EQ(form.Combo1.Text(), u"com1");
    EXPECT_EQ(typed.text(), QStringLiteral("com1"));
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(shown.combo("Combo3").isEnabled()) << "com1 names no kind: LPT1's flags stay";
}

TEST(FormWindow, EnterAndEscPressNothingButSpaceOnTheButtonDoes) {
    RecordingLibrary library;
    ShownWindow shown{library};
    for (QWidget* target : std::initializer_list<QWidget*>{shown.combo("Combo1").lineEdit(), &shown.textBox("Text1"),
                                                           &shown.textBox("Text2"), &shown.button()}) {
        target->setFocus();
        for (const auto key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) QTest::keyClick(target, key);
    }
    EXPECT_TRUE(library.calls.empty());
    EXPECT_TRUE(shown.window.isVisible()) << "Esc does not close the window either";
    QTest::keyClick(&shown.button(), Qt::Key_Space);
    EXPECT_EQ(library.calls.size(), 5u) << "a real press opens, starts, writes, ends and closes";
}

TEST(FormWindow, APressDeliversTheCommandToTheTypedPresentAddress) {
    testing_support::LoopbackPrinter printer{testing_support::PeerBehaviour::readToEnd, "127.0.0.2"};
    native::NativeLibrary library;
    ShownWindow shown{library};
    shown.typeOver(shown.textBox("Text1"), QString::fromStdString(printer.address()));
    shown.typeOver(shown.textBox("Text2"), QStringLiteral("10.0.0.7"));
    QTest::mouseClick(&shown.button(), Qt::LeftButton);
    EXPECT_EQ(printer.connections(1),
              (std::vector<testing_support::Bytes>{{0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 10, 0, 0, 7}}));
    EXPECT_TRUE(shown.messages.empty()) << shown.diagnostics.str();
    ASSERT_TRUE(shown.window.form().PortHandle().has_value());
    EXPECT_NE(*shown.window.form().PortHandle(), -1);
}

// A port on 127.0.0.3 held bound but never listening, so a connection to it is refused.
QString refusingAddress(native::UniqueFd& holder) {
    holder = native::UniqueFd{::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)};
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(0x7F000003);
    socklen_t length = sizeof at;
    EXPECT_EQ(::bind(holder.get(), reinterpret_cast<sockaddr*>(&at), length), 0);
    EXPECT_EQ(::getsockname(holder.get(), reinterpret_cast<sockaddr*>(&at), &length), 0);
    return QStringLiteral("127.0.0.3:%1").arg(ntohs(at.sin_port));
}

TEST(FormWindow, ARefusedPortShowsTheCriticalMessageWithOneOk) {
    native::UniqueFd refusing;
    const QString address = refusingAddress(refusing);
    native::NativeLibrary library;
    ShownWindow shown{library};
    shown.typeOver(shown.textBox("Text1"), address);

    QTest::mouseClick(&shown.button(), Qt::LeftButton);

    ASSERT_EQ(shown.messages.size(), 1u);
    const testing_support::SeenMessage& seen = shown.messages.front();
    EXPECT_EQ(seen.title, QStringLiteral("error"));
    EXPECT_EQ(seen.text, QStringLiteral("Fail to open port,please check!"));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, 1);
    EXPECT_TRUE(seen.hasOk);
    EXPECT_TRUE(seen.modal);
    EXPECT_EQ(shown.window.form().PortHandle(), -1);
    EXPECT_EQ(shown.textBox("Text1").text(), address) << "nothing lost";
}

}  // namespace
}  // namespace setip
