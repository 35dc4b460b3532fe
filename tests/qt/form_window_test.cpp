#include "app/qt/form_window.h"
#include "app/qt/run.h"
#include "printer/builtin/builtin_library.h"
#include "tests/native/loopback_peer.h"
#include "tests/support/recording_library.h"
#include "window/twips.h"

#include <QTest>
#include <QtWidgets>

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <system_error>

// A failing check shows the texts, not their bytes.
void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace setip {
namespace {

// The real window over recording hooks or the given printer library, shown and active so it takes keys and
// clicks. Any message box it opens is written down, with whether the wait cursor still shows, and closed with its
// OK button, so a press never waits for an operator.
struct ShownWindow {
    explicit ShownWindow(PrinterLibrary* library = nullptr)
        : window(printers, library != nullptr ? *library : recording, diagnostics) {
        // A refusing present address on loopback, so that no press can ever reach the default 192.168.123.100.
        typeOver(widget<QLineEdit>("Text1"), QStringLiteral("127.0.0.1:1"));
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        QObject::connect(&messageCloser, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            const bool onlyOk = box->buttons().size() == 1 && box->button(QMessageBox::Ok) != nullptr;
            messages << QStringLiteral("%1: %2 critical=%3 onlyOk=%4 modal=%5 waitCursor=%6")
                            .arg(box->windowTitle(), box->text())
                            .arg(box->icon() == QMessageBox::Critical)
                            .arg(onlyOk)
                            .arg(box->isModal())
                            .arg(QApplication::overrideCursor() != nullptr);
            onlyOk ? box->button(QMessageBox::Ok)->click() : box->reject();
        });
        messageCloser.start(20);
    }

    template <typename Widget = QWidget>
    Widget& widget(const std::string& name) { return *window.findChild<Widget*>(QString::fromStdString(name)); }

    // The operator selects all of a box's text and types over it.
    static void typeOver(QLineEdit& box, const QString& text) {
        box.setFocus();
        QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(&box, text);
    }

    // Counts Combo1's clicks and changes, which still reach the window's own handlers.
    struct Combo1Events {
        int clicks = 0;
        int changes = 0;
    };
    const Combo1Events& countCombo1Events() {
        FrmTest& form = window.form();
        form.Combo1.onClick([this, original = form.Combo1.clickHandler()] { ++combo1Events.clicks, original(); });
        form.Combo1.onChange([this, original = form.Combo1.changeHandler()] { ++combo1Events.changes, original(); });
        return combo1Events;
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
    Combo1Events combo1Events;
};

const QString openFailed = QStringLiteral("error: Fail to open port,please check! critical=1 onlyOk=1 modal=1 waitCursor=0");

// Each control at its place in the model, in pixels at 96 DPI, in a frame of fixed size (the screenshot test checks
// the size).
TEST(FormWindow, PlacesEveryControlAtItsTwipsInAFixedFrame) {
    ShownWindow shown;
    ASSERT_EQ(shown.window.logicalDpiX(), 96);
    const auto pixels = [](std::int32_t twips) { return twipsToPixels(twips, 96); };
    EXPECT_EQ(shown.window.minimumSize(), shown.window.maximumSize());
    for (const Control* control : std::as_const(shown.window.form()).controls()) {
        const Placement at = control->placement();
        EXPECT_EQ(shown.widget(control->name()).geometry(),
                  QRect(pixels(at.left), pixels(at.top), pixels(at.width), pixels(at.height)))
            << control->name();
    }
}

// The icon is the .ico's images of 16, 32 and 48 pixels; the desktop entry's PNGs go up to 128.
TEST(FormWindow, IsCaptionedFrmQuillopWithTheProgramsIcon) {
    ShownWindow shown;
    EXPECT_EQ(shown.window.windowTitle(), QStringLiteral("FrmQuillop"));
    EXPECT_EQ(qt::setipIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
}

// Tab goes through the focusable controls in the model's order, which is their tab index, and back to the first.
TEST(FormWindow, TabsInTabIndexOrder) {
    ShownWindow shown;
    std::vector<std::string> tabOrder;
    for (const Control* control : std::as_const(shown.window.form()).controls()) {
        if (control->kind() != ControlKind::label) tabOrder.push_back(control->name());
    }
    for (QWidget* widget : shown.window.findChildren<QWidget*>()) widget->setEnabled(true);
    tabOrder.push_back(tabOrder.front());
    shown.widget(tabOrder.front()).setFocus();
    for (const std::string& name : tabOrder) {
        EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), name);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}

// At a default font too large for the layout, the window takes the largest smaller size of it at which every caption
// and initial text fits its control.
TEST(FormWindow, ShrinksADefaultFontTooLargeToTheLargestSizeThatFits) {
    int argc = 1;
    char* argv[] = {const_cast<char*>("setip-qt-test"), nullptr};
    const QApplication application{argc, argv};
    QFont large{QStringLiteral("DejaVu Sans")};
    large.setPointSizeF(16.5);
    QApplication::setFont(large);
    testing_support::RecordingLibrary library;
    const ListedPrinters printers{{}};
    std::ostringstream diagnostics;
    const qt::FormWindow window{printers, library, diagnostics};
    const auto fitsAt = [&window](qreal pointSize) {
        QFont font = window.font();
        font.setPointSizeF(pointSize);
        const QFontMetrics metrics{font};
        bool fits = true;
        for (const QLabel* label : window.findChildren<QLabel*>()) {
            fits = fits && metrics.horizontalAdvance(label->text()) <= label->width();
        }
        for (const QLineEdit* box : window.findChildren<QLineEdit*>(QString{}, Qt::FindDirectChildrenOnly)) {
            fits = fits && metrics.horizontalAdvance(box->text()) <= box->width() - 8;  // less its frame and margins
        }
        return fits;
    };
    ASSERT_FALSE(fitsAt(large.pointSizeF())) << "the test's font fits the window as it is";
    EXPECT_TRUE(fitsAt(window.font().pointSizeF())) << window.font().pointSizeF();
    EXPECT_FALSE(fitsAt(window.font().pointSizeF() + 0.5)) << "a larger size fits too: " << window.font().pointSizeF();
}

// The operator opens the port list, moves to LPT1 and takes it with Enter: that is a click, and every input goes off.
TEST(FormWindow, PickingAnItemIsAClick) {
    ShownWindow shown;
    FrmTest& form = shown.window.form();
    const auto& [clicks, changes] = shown.countCombo1Events();
    auto& combo1 = shown.widget<QComboBox>("Combo1");
    combo1.showPopup();
    combo1.view()->setCurrentIndex(combo1.model()->index(10, 0));
    QTest::keyClick(combo1.view(), Qt::Key_Return);
    EXPECT_EQ(form.Combo1.Text(), u"LPT1");
    EXPECT_FALSE(shown.widget("Text1").isEnabled());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(changes, 0) << "the text a pick puts in the box is not an edit";
}

// Each key typed in the port list is a change; the model's text follows an edit in the middle and the caret stays
// where the operator left it. Enter after an item's name in other letters neither picks that item nor rewrites it.
TEST(FormWindow, TypingIsAChangeAndTheCaretStays) {
    ShownWindow shown;
    FrmTest& form = shown.window.form();
    const auto& [clicks, changes] = shown.countCombo1Events();
    QLineEdit& typed = *shown.widget<QComboBox>("Combo1").lineEdit();
    ShownWindow::typeOver(typed, QStringLiteral("COM"));
    EXPECT_EQ(changes, 3);
    EXPECT_TRUE(shown.widget("Combo3").isEnabled());
    QTest::keyClick(&typed, Qt::Key_Home);
    QTest::keyClick(&typed, Qt::Key_Right);
    QTest::keyClicks(&typed, QStringLiteral("X"));
    EXPECT_EQ(typed.cursorPosition(), 2);
    EXPECT_EQ(form.Combo1.Text(), u"CXOM");

    ShownWindow::typeOver(typed, QStringLiteral("com1"));
    QTest::keyClick(&typed, Qt::Key_Return);
    EXPECT_EQ(form.Combo1.Text(), u"com1");
    EXPECT_EQ(clicks, 0);
}

// "Set IP" is neither the default nor the cancel button, wherever the focus is.
TEST(FormWindow, EnterAndEscPressNothing) {
    ShownWindow shown;
    for (QWidget* target : std::initializer_list<QWidget*>{shown.widget<QComboBox>("Combo1").lineEdit(),
                                                           &shown.widget("Text1"), &shown.widget("Text2"),
                                                           &shown.widget("Command5")}) {
        target->setFocus();
        for (const auto key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) QTest::keyClick(target, key);
    }
    EXPECT_FALSE(shown.window.form().PortHandle().has_value());
    EXPECT_EQ(shown.recording.calls, std::vector<std::string>{});
}

// The operator presses at the harness's refusing port, is told so, puts the address right and presses again.
TEST(FormWindow, TellsARefusedPortAndDeliversOnceTheAddressIsPutRight) {
    testing_support::LoopbackPrinter printer{"127.0.0.2"};
    builtin::BuiltinLibrary library;
    ShownWindow shown{&library};
    auto& button = shown.widget<QPushButton>("Command5");
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(shown.messages, QStringList{openFailed});

    ShownWindow::typeOver(shown.widget<QLineEdit>("Text1"), QString::fromStdString(printer.address()));
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(printer.connections(1),
              std::vector{testing_support::carrying({0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 192, 168, 123, 100})});
    EXPECT_EQ(shown.messages.size(), 1) << shown.diagnostics.str();
}

// The wait cursor shows while the library works and goes before the window tells anything. What the library throws,
// here at the close, is told as the send failing, with its words on the setip: line, and the window stays.
TEST(FormWindow, WaitsWhileTheLibraryWorksThenTellsWhatItThrewAndStays) {
    ShownWindow shown;
    std::vector<bool> waiting;
    shown.recording.onCall = [&waiting](const std::string& call) {
        waiting.push_back(QApplication::overrideCursor() != nullptr &&
                          QApplication::overrideCursor()->shape() == Qt::WaitCursor);
        if (call.starts_with("close(")) throw std::system_error(std::make_error_code(std::errc::not_enough_memory));
    };
    QTest::mouseClick(&shown.widget("Command5"), Qt::LeftButton);
    EXPECT_EQ(waiting, std::vector<bool>(5, true));
    EXPECT_EQ(shown.messages, QStringList{QString{openFailed}.replace("open port", "send command")});
    EXPECT_EQ(shown.diagnostics.str(), "setip: " + std::make_error_code(std::errc::not_enough_memory).message() + "\n");
    EXPECT_TRUE(shown.window.isVisible());
}

// Each box takes pasted text of any length; 100,000 characters around a valid address reach the press whole.
TEST(FormWindow, TakesPastedTextOfAnyLength) {
    ShownWindow shown;
    const QString blanks(50'000, u' ');
    QApplication::clipboard()->setText(blanks + QStringLiteral("10.0.0.7") + blanks);
    for (QLineEdit* box : {shown.widget<QComboBox>("Combo1").lineEdit(), &shown.widget<QLineEdit>("Text1"),
                           &shown.widget<QLineEdit>("Text2")}) {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    }
    const FrmTest& form = shown.window.form();
    EXPECT_EQ((std::vector<std::size_t>{form.Combo1.Text().size(), form.Text1.Text().size(), form.Text2.Text().size()}),
              std::vector<std::size_t>(3, 100'008));
    shown.window.form().Combo1.operatorEdits(u"LPT1");
    QTest::mouseClick(&shown.widget("Command5"), Qt::LeftButton);
    ASSERT_EQ(shown.recording.calls.size(), 5u) << shown.messages.join(u'\n').toStdString();
    EXPECT_EQ(shown.recording.calls[2], "write(7, 1F 1B 1F 91 00 49 50 0A 00 00 07)");
}

std::string shellQuoted(const std::string& path) { return "'" + path + "'"; }

// The README's run command with no display: the built program on an Xvfb of its own, its picture saved in the build
// tree and the place said, which show-window does only once the picture is taken.
TEST(Screenshot, ShowsTheWindowOnXvfbAndSavesIt) {
    const std::string where = shellQuoted(SETIP_SCREENSHOT);
    const std::string shown = "env -u DISPLAY -u QT_QPA_PLATFORM " + shellQuoted(SETIP_SHOW_WINDOW) + " " +
                              shellQuoted(SETIP_PROGRAM) + " " + where;
    ASSERT_EQ(std::system((shown + " | grep -F " + where + " >/dev/null").c_str()), 0);
    EXPECT_EQ(QImage{QStringLiteral(SETIP_SCREENSHOT)}.size(), QSize(387, 129)) << "the client area at 96 DPI";
}

}  // namespace
}  // namespace setip
