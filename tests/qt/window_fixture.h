#pragma once

#include "app/qt/form_window.h"
#include "window/installed_printers.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <sstream>

namespace setip::testing_support {

// A message box as the operator saw it, before the test pressed its OK.
struct SeenMessage {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    qsizetype buttons = 0;
    bool hasOk = false;
    bool modal = false;
};

// The real window over a given printer library, shown and active so it takes keys and clicks. Any message box
// it opens is written down and closed with its OK button, so a press never waits for an operator.
struct ShownWindow {
    explicit ShownWindow(PrinterLibrary& library, std::vector<Text> printerNames = {u"A", u"B"})
        : printers(std::move(printerNames)), window(printers, library, diagnostics) {
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        QObject::connect(&messageCloser, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            messages.push_back({box->windowTitle(), box->text(), box->icon(), box->buttons().size(),
                                box->button(QMessageBox::Ok) != nullptr, box->isModal()});
            box->button(QMessageBox::Ok) != nullptr ? box->button(QMessageBox::Ok)->click() : box->reject();
        });
        messageCloser.start(20);
    }

    template <typename Widget>
    Widget& widget(const char* name) {
        auto* found = window.findChild<Widget*>(QString::fromLatin1(name));
        if (found == nullptr) throw std::logic_error(std::string{"no widget "} + name);
        return *found;
    }
    QComboBox& combo(const char* name) { return widget<QComboBox>(name); }
    QLineEdit& textBox(const char* name) { return widget<QLineEdit>(name); }
    QPushButton& button() { return widget<QPushButton>("Command5"); }

    // The operator opens the list, moves to the item and takes it with Enter.
    void pick(const char* comboName, int index) {
        QComboBox& list = combo(comboName);
        list.showPopup();
        auto* view = list.view();
        view->setCurrentIndex(view->model()->index(index, 0));
        QTest::keyClick(view, Qt::Key_Return);
        EXPECT_FALSE(view->isVisible()) << "the list closes on a pick";
    }

    // The operator selects all of a box's text and types over it.
    void typeOver(QLineEdit& box, const QString& text) {
        box.setFocus();
        QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(&box, text);
    }

    ListedPrinters printers;
    std::ostringstream diagnostics;
    qt::FormWindow window;
    QTimer messageCloser;
    std::vector<SeenMessage> messages;
};

}  // namespace setip::testing_support
