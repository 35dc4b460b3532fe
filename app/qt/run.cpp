#include "app/qt/run.h"

#include "app/qt/form_window.h"
#include "printer/builtin/queue_port.h"
#include "printer/library_choice.h"
#include "window/installed_printers.h"

#include <QApplication>
#include <QIcon>

#include <iostream>

namespace setip::qt {

int runSetip(int argc, char** argv, const std::function<void(QWidget&)>& beforeShow) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("setip"));
    QApplication::setDesktopFileName(QStringLiteral("setip"));
    QApplication::setWindowIcon(setipIcon());

    const auto library = choosePrinterLibrary(std::cerr);
    const ListedPrinters printers{builtin::installedQueues()};
    FormWindow window{printers, *library, std::cerr};
    if (beforeShow) beforeShow(window);
    window.show();
    return QApplication::exec();
}

QIcon setipIcon() { return QIcon{QStringLiteral(":/setip/setip.ico")}; }

}  // namespace setip::qt
