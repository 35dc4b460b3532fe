#include "ipbox/qt/ip_box_widget.h"

#include "common/no_escape.h"

#include <iostream>

namespace setip::qt {

IpBox::IpBox(QWidget* parent) : QWidget(parent), handle_(platform_.handleOf(this)), box_(*this, platform_) {
    resize(sizeHint());
    box_.UserControl_Initialize();
}

QString IpBox::address() const { return QString::fromStdU16String(box_.Address()); }

void IpBox::setAddress(const QString& address) { box_.Address(address.toStdU16String()); }

QSize IpBox::sizeHint() const { return {132, 19}; }

void IpBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    noEscape(std::cerr, [this] { box_.UserControl_Resize(); });
}

}  // namespace setip::qt
