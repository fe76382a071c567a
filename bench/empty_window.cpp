// An empty 800 x 600 window that quits as soon as it is shown: what any Qt Widgets program pays to
// start, against which startup.sh sets the real program (started with YOMIRIN_QUIT_WHEN_SHOWN).
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
    QTimer::singleShot(0, &application, &QCoreApplication::quit);
    return application.exec();
}
