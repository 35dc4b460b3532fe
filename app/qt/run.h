#pragma once

#include <functional>

class QIcon;
class QWidget;

namespace setip::qt {

// The whole program: builds the window over the built-in printer library and the installed printers, shows it
// and runs until it is closed. `beforeShow`, when given, sees the window just before it is first shown.
int runSetip(int argc, char** argv, const std::function<void(QWidget&)>& beforeShow = {});

// The window's icon: the eight images of the program's .ico, as the Windows build carries them.
QIcon setipIcon();

}  // namespace setip::qt
