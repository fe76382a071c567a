// The program: creates its windows in order and runs the message loop.
#include "app/Unit2.h"
#include "app/Unit6.h"
#include "app/controls.h"
#include "app/main.h"
#include "platform/clock.h"
#include "platform/wav_player.h"
#include "records/Unit3.h"
#include "records/Unit4.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

int main(int argc, char* argv[]) {
    // Geometry is in device pixels on the fixed 800 x 600 client area, matching the background.
    if (qEnvironmentVariableIsEmpty("QT_ENABLE_HIGHDPI_SCALING"))
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication application(argc, argv);
    // Controls that set no font draw with the program's own face rather than the desktop's, as the
    // windows were designed; the desktop's default face is then never looked up, which the start
    // would pay for with a font search of its own.
    QApplication::setFont(app::baseFont());

    platform::WavPlayer sound;
    platform::SystemClock clock;
    try {
        TForm1 form1(sound, clock);
        TForm2 form2(form1);
        TForm3 form3(form1);
        TForm4 form4(form1);
        TForm6 form6;
        form1.attachWindows(&form2, &form3, &form4, &form6);
        form1.show();
        // The start-up benchmark measures the time to a shown main window and stops there.
        if (!qEnvironmentVariableIsEmpty("YOMIRIN_QUIT_WHEN_SHOWN"))
            QTimer::singleShot(0, &application, &QCoreApplication::quit);
        return application.exec();
    } catch (const AssetError& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Yomirin"),
                              QStringLiteral("プログラムの画像ファイルを読み込めません。\n%1")
                                  .arg(QString::fromStdString(error.path())));
        return 1;
    }
}
