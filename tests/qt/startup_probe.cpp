// Started afresh by the start-up benchmark for every measurement. "setip" runs the program's own start-up;
// "bare" shows an empty window of the same size, the baseline. Either ends its process the moment its window
// has first been painted, so the process's run time is the cold start.
#include "app/qt/run.h"

#include <QtWidgets>

#include <cstdlib>
#include <string_view>

namespace {

class FirstPaint final : public QObject {
    bool eventFilter(QObject*, QEvent* event) override {
        // After this paint returns, Qt hands the frame to the display server.
        if (event->type() == QEvent::Paint) QTimer::singleShot(0, [] { std::_Exit(0); });
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    FirstPaint firstPaint;
    const auto watch = [&firstPaint](QWidget& window) { window.installEventFilter(&firstPaint); };
    if (argc < 2 || std::string_view{argv[1]} != "bare") return setip::qt::runSetip(argc, argv, watch);
    QApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(387, 129);
    watch(window);
    window.show();
    return QApplication::exec();
}
