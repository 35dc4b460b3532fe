#include "ipbox/qt/ip_box_widget.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    setip::qt::IpBox box;
    box.setAddress(QStringLiteral("010.000.000.007"));
    std::printf("%s %d\n", qPrintable(box.address()), box.control().CountIF(u"1.2.3.4", u"."));
    try {
        box.setAddress(QStringLiteral("1.2.3"));
    } catch (const setip::Error& error) {
        std::printf("%d\n", error.number());
    }
}
