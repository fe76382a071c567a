#include "app/Unit2.h"

#include "app/display_scaling.h"
#include "app/main.h"
#include "app/messages.h"
#include "platform_qt/packed_picture.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

namespace {

constexpr int windowWidth = 330;
constexpr int windowHeight = 110;
constexpr int noticeMs = 2700;
constexpr int noticeTop = 47;
constexpr int questionTop = 36;
constexpr int labelPixels = 15;
constexpr int buttonPixels = 12;


} // namespace

TForm2::TForm2(TForm1& main)
    // Owned by the main window so that window managers keep it in front of that window, not of
    // a hidden leader window some of them refuse (a frameless dialog rather than a plain window).
    : QWidget(&main, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      main_(main) {
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(windowWidth, windowHeight);
    setFont(app::toQFont(app::gothicFont(buttonPixels)));

    Image1 = new PictureBox(this);
    Image1->setGeometry(0, 0, windowWidth, windowHeight);

    SpeedButton1 = new FlatButton(QStringLiteral("YES"), this, true);
    SpeedButton1->setGeometry(90, 72, 59, 19);
    SpeedButton2 = new FlatButton(QStringLiteral("NO"), this, true);
    SpeedButton2->setGeometry(180, 72, 59, 19);
    for (FlatButton* button : {SpeedButton1, SpeedButton2})
        button->setFontSpec(app::gothicFont(buttonPixels));
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm2::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm2::SpeedButton2Click);

    Label1 = new AutoLabel(this, true);
    Label1->setFontSpecForText(app::gothicFont(labelPixels, records::rgb(255, 255, 255)));

    Timer1.setInterval(noticeMs);
    Timer1.setTimerType(Qt::PreciseTimer);
    connect(&Timer1, &QTimer::timeout, this, &TForm2::Timer1Timer);
}

// Draws the message the trainer has opened: a notice goes by itself, a question waits for YES or NO.
void TForm2::ShowMessageWindow(session::MessageId id) {
    const std::optional<session::MessageRule> rule = session::messageRule(id);
    if (!rule)
        return;
    const QString text = id == session::MessageId::SaveQuestion
                             ? QString::fromStdString(app::saveQuestionText(main_.state().correctCount))
                             : QString::fromUtf8(app::messageText(id));
    Label1->setCaption(text);
    const bool notice = rule->kind == session::MessageKind::Notice;
    Label1->setTop(notice ? noticeTop : questionTop);
    SpeedButton1->setVisible(!notice);
    SpeedButton2->setVisible(!notice);
    if (notice)
        app::switchOn(Timer1);
    Label1->setWidth(windowWidth);
    Label1->setLeft(0);
    show();
    raise();
    activateWindow();
}

void TForm2::showEvent(QShowEvent* event) {
    // Drawn at the first message, so that a start without one does not pay for it.
    if (Image1->picture().isNull())
        Image1->setPicture(app::loadPicture(QStringLiteral(":/art/msgbg.pic")));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - QPoint(width() / 2, height() / 2));
    QWidget::showEvent(event);
}

bool TForm2::questionOnShow() const { return main_.state().openQuestion != session::MessageId::None; }

// A notice closes when its time is up; a question waits for its answer.
void TForm2::Timer1Timer() {
    if (questionOnShow())
        return;
    main_.trainer().childWindowClosed();
    hide();
    main_.activateWindow();
    Timer1.stop();
}

void TForm2::closeEvent(QCloseEvent* event) {
    if (questionOnShow()) {
        event->ignore();
        return;
    }
    main_.trainer().childWindowClosed();
    Timer1.stop();
    event->accept();
}

void TForm2::SpeedButton1Click() { answer(true); }

void TForm2::SpeedButton2Click() { answer(false); }

void TForm2::answer(bool yes) {
    const session::QuestionReply reply = main_.trainer().answerQuestion(yes);
    if (reply == session::QuestionReply::Ignored || reply == session::QuestionReply::Stays)
        return;
    Timer1.stop();
    hide();
    if (reply == session::QuestionReply::Exits)
        main_.close();
    else if (reply == session::QuestionReply::BackToMain)
        main_.activateWindow();
}
