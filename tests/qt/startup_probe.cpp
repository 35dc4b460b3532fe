// Started afresh by the start-up benchmark for every measurement. "setip" runs the program's own start-up;
// "bare" shows an empty window of the same size, the baseline. Either writes one byte to the descriptor named
// by SETIP_PROBE_FD when its window is first painted, then quits.
#include "app/qt/run.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

class FirstPaint final : public QObject {
public:
    explicit FirstPaint(int fd) : fd_(fd) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && fd_ >= 0) {
            // After this paint returns, Qt hands the frame to the display server.
            QTimer::singleShot(0, [fd = fd_] {
                const char shown = 'S';
                [[maybe_unused]] const auto written = ::write(fd, &shown, 1);
                QApplication::quit();
            });
            fd_ = -1;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    int fd_;
};

int probeFd() {
    const char* fd = std::getenv("SETIP_PROBE_FD");
    return fd == nullptr ? -1 : std::atoi(fd);
}

}  // namespace

int main(int argc, char** argv) {
    FirstPaint firstPaint{probeFd()};
    const auto watch = [&firstPaint](QWidget& window) { window.installEventFilter(&firstPaint); };
    if (argc > 1 && std::strcmp(argv[1], "bare") == 0) {
        QApplication application(argc, argv);
        QWidget window;
        window.setFixedSize(387, 129);
        watch(window);
        window.show();
        return QApplication::exec();
    }
    return setip::qt::runSetip(argc, argv, watch);
}
