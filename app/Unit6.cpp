#include "app/Unit6.h"

#include "app/display_scaling.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

constexpr int splashWidth = 476;
constexpr int splashHeight = 359;
constexpr int splashMs = 4000;

} // namespace

// A splash screen owned by the main window: a window manager places and stacks it as one, over
// that window.
TForm6::TForm6(QWidget* owner)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setAttribute(Qt::WA_QuitOnClose, false);
    Image1 = new PictureBox(this);
    // FormCreate
    setFixedSize(splashWidth, splashHeight);
    Image1->setGeometry(0, 0, splashWidth, splashHeight);
    Timer1.setInterval(splashMs);
    Timer1.setTimerType(Qt::PreciseTimer);
    connect(&Timer1, &QTimer::timeout, this, &TForm6::Timer1Timer);
}

void TForm6::Timer1Timer() {
    Timer1.stop();
    hide();
    // Without a window manager the focus would otherwise stay nowhere and the function keys
    // would not reach the main window until it is clicked.
    if (returnFocusTo_)
        returnFocusTo_->activateWindow();
}

void TForm6::showEvent(QShowEvent* event) {
    // Drawn only when first shown, so that it costs nothing before the main window is up.
    if (Image1->picture().isNull()) {
        Image1->setPicture(app::loadPicture(QStringLiteral(":/art/splash.pic")));
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - QPoint(width() / 2, height() / 2));
    QWidget::showEvent(event);
}
