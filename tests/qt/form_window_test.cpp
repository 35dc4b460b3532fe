#include "app/qt/form_window.h"
#include "app/qt/run.h"
#include "printer/native/native_library.h"
#include "tests/native/loopback_peer.h"
#include "tests/support/recording_library.h"
#include "tests/support/table.h"

#include <QTest>
#include <QtWidgets>

#include <gtest/gtest.h>

#include <sstream>
#include <system_error>

namespace setip {
namespace {

// The real window over recording hooks or the given printer library, shown and active so it takes keys and
// clicks. Any message box it opens is written down and closed with its OK button, so a press never waits for an
// operator.
struct ShownWindow {
    explicit ShownWindow(PrinterLibrary* library = nullptr)
        : window(printers, library != nullptr ? *library : recording, diagnostics) {
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        QObject::connect(&messageCloser, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            const bool onlyOk = box->buttons().size() == 1 && box->button(QMessageBox::Ok) != nullptr;
            messages << QStringLiteral("%1: %2 icon=%3 onlyOk=%4 modal=%5")
                            .arg(box->windowTitle(), box->text(), QString::number(box->icon()),
                                 QString::number(onlyOk), QString::number(box->isModal()));
            onlyOk ? box->button(QMessageBox::Ok)->click() : box->reject();
        });
        messageCloser.start(20);
    }

    template <typename Widget = QWidget>
    Widget& widget(const char* name) { return *window.findChild<Widget*>(QString::fromLatin1(name)); }
    QComboBox& combo(const char* name) { return widget<QComboBox>(name); }
    QLineEdit& textBox(const char* name) { return widget<QLineEdit>(name); }

    // The operator opens the port list, moves to the item and takes it with Enter.
    void pick(int index) {
        QComboBox& list = combo("Combo1");
        list.showPopup();
        list.view()->setCurrentIndex(list.model()->index(index, 0));
        QTest::keyClick(list.view(), Qt::Key_Return);
    }

    // The operator selects all of a box's text and types over it.
    void typeOver(QLineEdit& box, const QString& text) {
        box.setFocus();
        QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(&box, text);
    }

    // Which of the port-kind inputs are enabled on the screen.
    std::string enabledInputs() {
        return std::string{textBox("Text1").isEnabled() ? "Text1" : ""} +
               (combo("Combo2").isEnabled() ? "Combo2" : "") + (combo("Combo3").isEnabled() ? "Combo3" : "");
    }

    // A fresh application for each window, on the offscreen platform CMake sets: real widgets, no display.
    int argc = 1;
    char* argv[2] = {const_cast<char*>("setip-qt-test"), nullptr};
    QApplication application{argc, argv};
    testing_support::RecordingLibrary recording;
    ListedPrinters printers{{u"A", u"B"}};
    std::ostringstream diagnostics;
    qt::FormWindow window;
    QTimer messageCloser;
    QStringList messages;
};

struct GeometryRow {
    const char* name;
    int left, top, width, height;  // twips, as laid out
    friend void PrintTo(const GeometryRow& row, std::ostream* out) { *out << row.name; }
};

class Geometry : public ::testing::TestWithParam<GeometryRow> {};

TEST_P(Geometry, IsTheLayoutInTwipsAtFifteenTwipsAPixel) {
    const GeometryRow& row = GetParam();
    ShownWindow shown;
    ASSERT_EQ(shown.window.logicalDpiX(), 96);
    EXPECT_EQ(shown.widget(row.name).geometry(), QRect(row.left / 15, row.top / 15, row.width / 15, row.height / 15));
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

TEST(FormWindow, IsAFixedFrameCaptionedFrmQuillopAndTabsInTabIndexOrder) {
    ShownWindow shown;
    EXPECT_EQ(shown.window.windowTitle(), QStringLiteral("FrmQuillop"));
    EXPECT_EQ(shown.window.size(), QSize(387, 129));
    EXPECT_EQ(shown.window.minimumSize(), shown.window.maximumSize());

    for (QWidget* widget : shown.window.findChildren<QWidget*>()) widget->setEnabled(true);
    QWidget* const order[] = {&shown.combo("Combo1"), &shown.combo("Combo2"), &shown.combo("Combo3"),
                              &shown.widget("Command5"), &shown.textBox("Text1"), &shown.textBox("Text2"),
                              &shown.combo("Combo1")};
    order[0]->setFocus();
    for (std::size_t tabs = 0; tabs < std::size(order); ++tabs) {
        EXPECT_EQ(QApplication::focusWidget(), order[tabs]) << "after " << tabs << " tabs";
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}

TEST(FormWindow, PickingIsAClickTypingIsAChangeAndTheCaretStays) {
    ShownWindow shown;
    FrmTest& form = shown.window.form();
    int clicks = 0;
    int changes = 0;
    form.Combo1.onClick([&, original = form.Combo1.clickHandler()] { ++clicks, original(); });
    form.Combo1.onChange([&, original = form.Combo1.changeHandler()] { ++changes, original(); });
    for (const auto& [index, enabled] : std::vector<std::pair<int, std::string>>{
             {3, "Combo3"}, {10, ""}, {13, "Combo2"}, {0, "Text1"}}) {
        shown.pick(index);
        EXPECT_EQ(shown.enabledInputs(), enabled) << "after picking " << toUtf8(form.Combo1.Text());
    }
    EXPECT_EQ(clicks, 4);
    EXPECT_EQ(changes, 0) << "the text a pick puts in the box is not an edit";

    QLineEdit& typed = *shown.combo("Combo1").lineEdit();
    shown.typeOver(typed, QStringLiteral("COM"));
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(shown.enabledInputs(), "Combo3");
    // An edit in the middle: the model's text follows and the caret stays where the operator left it.
    QTest::keyClick(&typed, Qt::Key_Home);
    QTest::keyClick(&typed, Qt::Key_Right);
    QTest::keyClicks(&typed, QStringLiteral("X"));
    EXPECT_EQ(typed.cursorPosition(), 2);
    EXPECT_EQ(form.Combo1.Text(), u"CXOM");

    // Enter after an item's name in other letters neither picks that item nor adds or rewrites anything.
    shown.typeOver(typed, QStringLiteral("com1"));
    QTest::keyClick(&typed, Qt::Key_Return);
    EXPECT_EQ(form.Combo1.Text(), u"com1");
    EXPECT_EQ(clicks, 4);
}

// The operator presses at a port that refuses, is told so, puts the printer's address right and presses again.
TEST(FormWindow, EnterAndEscPressNothingARefusedPortIsShownAPressDelivers) {
    testing_support::LoopbackPrinter printer{testing_support::PeerBehaviour::readToEnd, "127.0.0.2"};
    const QString refusing = QString::fromStdString(testing_support::refusingAddress());
    native::NativeLibrary library;
    ShownWindow shown{&library};
    QPushButton& button = shown.widget<QPushButton>("Command5");
    shown.typeOver(shown.textBox("Text1"), refusing);
    for (QWidget* target : std::initializer_list<QWidget*>{shown.combo("Combo1").lineEdit(), &shown.textBox("Text1"),
                                                           &shown.textBox("Text2"), &button}) {
        target->setFocus();
        for (const auto key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) QTest::keyClick(target, key);
    }
    EXPECT_FALSE(shown.window.form().PortHandle().has_value()) << "no press yet";

    QTest::mouseClick(&button, Qt::LeftButton);
    const QString refused = QStringLiteral("error: Fail to open port,please check! icon=%1 onlyOk=1 modal=1");
    EXPECT_EQ(shown.messages, QStringList{refused.arg(QMessageBox::Critical)});

    shown.typeOver(shown.textBox("Text1"), QString::fromStdString(printer.address()));
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(printer.connections(1),
              (std::vector<testing_support::Bytes>{{0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 192, 168, 123, 100}}));
    EXPECT_EQ(shown.messages.size(), 1) << shown.diagnostics.str();
}

// The press shows the wait cursor while the library works; what the library throws is told, and the window stays.
TEST(FormWindow, WaitsVisiblyDuringAPressAndShowsWhatTheLibraryThrows) {
    ShownWindow shown;
    shown.recording.onCall = [](const std::string&) {
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        throw std::system_error(std::make_error_code(std::errc::not_enough_memory));
    };
    QTest::mouseClick(&shown.widget("Command5"), Qt::LeftButton);

    ASSERT_EQ(shown.messages.size(), 1);
    EXPECT_TRUE(shown.messages[0].startsWith(QStringLiteral("error: Fail to open port,please check!")));
    EXPECT_EQ(shown.diagnostics.str(), "setip: " + std::make_error_code(std::errc::not_enough_memory).message() + "\n");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(shown.window.isVisible());
}

TEST(FormWindow, IconIsTheImagesOfTheProgramsIco) {
    ShownWindow shown;
    const QIcon icon = qt::setipIcon();
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
    QImageReader ico{QStringLiteral(SETIP_ICON_DIR "/setip.ico")};
    ASSERT_TRUE(ico.jumpToImage(5));  // the 48 x 48 image at 32 bits, the deepest of its size
    EXPECT_EQ(icon.pixmap(48).toImage().convertToFormat(QImage::Format_ARGB32),
              ico.read().convertToFormat(QImage::Format_ARGB32));
}

}  // namespace
}  // namespace setip
