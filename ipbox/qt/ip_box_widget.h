#pragma once

#include "ipbox/ip_box.h"
#include "ipbox/qt/qt_platform.h"

#include <QString>
#include <QWidget>

namespace setip::qt {

// The ipBox control as a Qt widget. The widget is the control's host: its construction raises the initialise
// event and each resize the resize event, so the address field always covers it.
class IpBox : public QWidget, private UserControl {
public:
    explicit IpBox(QWidget* parent = nullptr);

    // The Address property. The setter raises setip::Error as ipBox's does, and leaves the field as it was.
    QString address() const;
    void setAddress(const QString& address);

    // CountIF, CreateTextBox and the dotted-text Address as the control itself offers them.
    ipBox& control() { return box_; }

    // The design size, 132 x 19 pixels.
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    WindowHandle hWnd() const override { return handle_; }
    double ScaleWidth() const override { return width(); }
    double ScaleHeight() const override { return height(); }
    InstanceHandle hInstance() const override { return 0; }

    QtPlatform platform_;
    WindowHandle handle_;
    ipBox box_;
};

}  // namespace setip::qt
