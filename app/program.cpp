// The program: creates its windows in order and runs the message loop.
#include "app/Unit2.h"
#include "app/Unit3.h"
#include "app/Unit4.h"
#include "app/Unit6.h"
#include "app/controls.h"
#include "app/display_scaling.h"
#include "app/font_configuration.h"
#include "app/main.h"
#include "app/one_program.h"
#include "platform/clock.h"
#include "platform_qt/wav_player.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

namespace {

// The one hook for tests and the start-up benchmark, read from YOMIRIN_WHEN_SHOWN: once the main
// window is on screen, "close" closes it as its close box does (saving), or the start-up error
// dialog as its OK button does; "quit" leaves without closing, and so without saving, which the
// benchmark would time as start-up.
enum class WhenShown { Stay, Close, Quit };

WhenShown whenShown() {
    const QByteArray hook = qgetenv("YOMIRIN_WHEN_SHOWN");
    return hook == "close" ? WhenShown::Close : hook == "quit" ? WhenShown::Quit : WhenShown::Stay;
}

// Runs `act` once the window's first frame is on screen: after the display exposed it, which on
// a real display comes through the window manager, and the window drew into it.
class OnFirstFrame : public QObject {
public:
    OnFirstFrame(QWidget& window, std::function<void()> act) : act_(std::move(act)) {
        window.winId(); // the native window, made now so that its first exposure is seen
        window.windowHandle()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, act_);
        }
        return false;
    }

private:
    std::function<void()> act_;
};

} // namespace

int main(int argc, char* argv[]) {
    // A second start in this folder brings the running program forward and leaves.
    app::OneProgram oneProgram;
    if (const std::optional<int> leave = oneProgram.leaveWith())
        return *leave;
    // Geometry is in the pixels of the fixed 800 x 600 client area, matching the background; a
    // dense screen scales all of it by a whole number.
    const bool scaleSet = app::prepareDisplayScaling();
    app::FontConfiguration fonts;
    // Qt takes its own options out of the arguments it is given: the copy is for a first making,
    // the originals for a second.
    std::vector<char*> arguments(argv, argv + argc + 1);
    int argumentCount = argc;
    std::optional<QApplication> made(std::in_place, argumentCount, arguments.data());
    if (!scaleSet) {
        if (const int scale = app::physicalScaleWanted(); scale > 1) {
            fonts.wait();
            made.reset();
            app::prepareForScale(scale);
            made.emplace(argc, argv);
        }
    }
    QApplication& application = *made;

    platform::WavPlayer sound([] { QApplication::beep(); });
    platform::SystemClock clock;
    const WhenShown hook = whenShown();
    try {
        app::StartFiles files = app::readStartFiles();
        fonts.applyBaseFont();
        TForm1 form1(sound, clock, std::move(files));
        TForm2 form2(form1);
        TForm3 form3(form1);
        TForm4 form4(form1);
        TForm6 form6(&form1);
        form1.attachWindows(&form2, &form3, &form4, &form6);
        const auto listening = oneProgram.listen([&form1] { form1.comeToFront(); });
        std::optional<OnFirstFrame> leave;
        if (hook == WhenShown::Close)
            leave.emplace(form1, [&form1] { form1.close(); });
        else if (hook == WhenShown::Quit)
            leave.emplace(form1, [] { QCoreApplication::exit(0); });
        form1.show();
        return application.exec();
    } catch (const AssetError& error) {
        fonts.applyBaseFont();
        const QString text = QStringLiteral("プログラムの画像ファイルを読み込めません。\n%1")
                                 .arg(QString::fromStdString(error.path()));
        // Also for whoever started the program from a terminal, where a dialog may not show.
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
        if (hook != WhenShown::Stay)
            QTimer::singleShot(0, &application, [] {
                if (QWidget* dialog = QApplication::activeModalWidget())
                    dialog->close();
            });
        QMessageBox::critical(nullptr, QStringLiteral("Yomirin"), text);
        return 1;
    }
}
