// An empty 800 x 600 window that leaves once its first frame is drawn: what any Qt Widgets program
// pays to start, against which startup.sh sets the real program (started with
// YOMIRIN_QUIT_WHEN_SHOWN, which leaves the same way).
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char* argv[]) {
    // The same scaling setting as the real program, so both draw the same number of pixels.
    if (qEnvironmentVariableIsEmpty("QT_ENABLE_HIGHDPI_SCALING"))
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication application(argc, argv);
    QWidget window;
    window.resize(800, 600);
    window.show();
    // Not quit(): that closes the window before its first frame is drawn.
    QTimer::singleShot(0, &application, [] { QCoreApplication::exit(0); });
    return application.exec();
}
