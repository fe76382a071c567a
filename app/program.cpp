// The program: creates its windows in order and runs the message loop.
#include "app/Unit2.h"
#include "app/Unit6.h"
#include "app/controls.h"
#include "app/display_scaling.h"
#include "app/main.h"
#include "platform/clock.h"
#include "platform/ready_heap.h"
#include "platform/wav_player.h"
#include "records/Unit3.h"
#include "records/Unit4.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <optional>
#include <thread>
#include <vector>

int main(int argc, char* argv[]) {
    // Geometry is in the pixels of the fixed 800 x 600 client area, matching the background; a
    // dense screen scales all of it by a whole number.
    const bool scaleSet = app::prepareDisplayScaling();
    platform::keepLargeBlocksInHeap();
    // The first label waits for the font configuration, which takes milliseconds to read: read on
    // a second processor while Qt brings up its platform and the start files are read, it is
    // there when the label asks. It reads the environment, so nothing here changes it until the
    // thread is done.
    std::jthread fontConfiguration(FcInit);
    // Meanwhile the memory the start fills (the decoded background, the windows' backing stores,
    // the font database) is made ready in one go, not page by page.
    platform::readyHeap(5u << 20);
    // Qt takes its own options out of the arguments it is given: the copy is for a first making,
    // the originals for a second.
    std::vector<char*> arguments(argv, argv + argc + 1);
    int argumentCount = argc;
    std::optional<QApplication> made(std::in_place, argumentCount, arguments.data());
    if (!scaleSet) {
        if (const int scale = app::physicalScaleWanted(); scale > 1) {
            fontConfiguration.join();
            made.reset();
            app::prepareForScale(scale);
            made.emplace(argc, argv);
        }
    }
    QApplication& application = *made;
    const auto fontsReady = [&fontConfiguration] {
        if (fontConfiguration.joinable())
            fontConfiguration.join();
        // Controls that set no font draw with the program's own face rather than the desktop's,
        // as the windows were designed; the desktop's default face is then never looked up,
        // which the start would pay for with a font search of its own.
        QApplication::setFont(app::baseFont());
    };

    platform::WavPlayer sound;
    platform::SystemClock clock;
    // For tests of the real program: once shown, the main window is closed as its close box
    // closes it (saving), or the start-up error dialog as its OK button closes it.
    const bool closeWhenShown = !qEnvironmentVariableIsEmpty("YOMIRIN_CLOSE_WHEN_SHOWN");
    try {
        TForm1::StartFiles files = TForm1::readStartFiles();
        fontsReady();
        TForm1 form1(sound, clock, std::move(files));
        TForm2 form2(form1);
        TForm3 form3(form1);
        TForm4 form4(form1);
        TForm6 form6;
        form1.attachWindows(&form2, &form3, &form4, &form6);
        form1.show();
        // The start-up benchmark measures the time to the main window's first frame and stops
        // there. It leaves the loop without closing the windows: quitting would close them
        // before that frame is drawn, and closing saves the learner's files.
        if (!qEnvironmentVariableIsEmpty("YOMIRIN_QUIT_WHEN_SHOWN"))
            QTimer::singleShot(0, &application, [] { QCoreApplication::exit(0); });
        if (closeWhenShown)
            QTimer::singleShot(0, &form1, &QWidget::close);
        return application.exec();
    } catch (const AssetError& error) {
        fontsReady();
        const QString text = QStringLiteral("プログラムの画像ファイルを読み込めません。\n%1")
                                 .arg(QString::fromStdString(error.path()));
        // Also for whoever started the program from a terminal, where a dialog may not show.
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
        if (closeWhenShown)
            QTimer::singleShot(0, &application, [] {
                if (QWidget* dialog = QApplication::activeModalWidget())
                    dialog->close();
            });
        QMessageBox::critical(nullptr, QStringLiteral("Yomirin"), text);
        return 1;
    }
}
