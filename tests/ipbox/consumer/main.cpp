#include "ipbox/qt/ip_box_widget.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    setip::qt::IpBox box;
    box.setAddress(QStringLiteral("010.000.000.007"));
    return box.address() == u"10.0.0.7" ? 0 : 1;
}
