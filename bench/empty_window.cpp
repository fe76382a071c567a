// An empty 800 x 600 window that leaves once its first frame is on screen: what any Qt Widgets
// program pays to start, against which startup.sh sets the real program (started with
// YOMIRIN_WHEN_SHOWN=quit, which leaves the same way).
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

// Leaves after the display exposed the window (through the window manager, on a real display)
// and the window drew into it.
class LeaveOnFirstFrame : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [] { QCoreApplication::exit(0); });
        }
        return false;
    }
};

} // namespace

int main(int argc, char* argv[]) {
    // The same scaling setting as the real program, so both draw the same number of pixels.
    if (qEnvironmentVariableIsEmpty("QT_ENABLE_HIGHDPI_SCALING"))
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication application(argc, argv);
    QWidget window;
    window.resize(800, 600);
    LeaveOnFirstFrame leave;
    window.winId();
    window.windowHandle()->installEventFilter(&leave);
    window.show();
    return application.exec();
}
