#include "app/main.h"

#include "app/Unit2.h"
#include "app/Unit6.h"
#include "app/accessible_names.h"
#include "app/display_scaling.h"
#include "app/text_literals.h"
#include "platform/app_dir.h"
#include "platform/file_attributes.h"
#include "platform/packed_picture.h"
#include "records/Unit3.h"
#include "records/Unit4.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

using records::rgb;

namespace {

constexpr int clientWidth = 800;
constexpr int clientHeight = 600;
constexpr int splashDelayMs = 10;
constexpr int advanceDelayMs = 2500;

const records::StoredColor white = rgb(255, 255, 255);
const records::StoredColor black = rgb(0, 0, 0);
const records::StoredColor red = rgb(255, 0, 0);
const records::StoredColor navy = rgb(0, 0, 128);
const records::StoredColor maroon = rgb(128, 0, 0);

records::FontSpec resourceFont(int pixels, bool bold, records::StoredColor color,
                               const char* face = "ＭＳ Ｐゴシック") {
    records::FontSpec stored;
    stored.name = app::cp932(face);
    stored.charset = 128;
    stored.color = color;
    app::setFontPixels(stored, pixels, 96);
    stored.height = -pixels; // the window resource stores the pixel height itself
    stored.style = bold ? records::Bold : 0;
    return stored;
}

// A picture button or picture box showing one of the program's own pictures.
template <typename Control> Control* makePictured(QWidget* parent, const QString& resource) {
    auto* control = new Control(parent);
    control->setPicture(app::loadPicture(resource));
    return control;
}

} // namespace

TForm1::TForm1(platform::Sound& sound, platform::Clock& clock)
    : TForm1(sound, clock, app::readStartFiles()) {}

TForm1::TForm1(platform::Sound& sound, platform::Clock& clock, StartFiles files)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      sound_(sound), clock_(clock), content_(std::move(files.course)),
      ButtonBitmaps(std::move(files.bitmaps)) {
    setWindowTitle(QStringLiteral(" ◆ Yomirin！　ビギナー編"));
    // From the picture itself: given a file name, QIcon would first load its engine plugins.
    setWindowIcon(QIcon(QPixmap::fromImage(platform::builtInPicture(QStringLiteral(":/art/icon.pic")))));
    setFont(toQFontForWindow());
    QPalette pal = palette();
    pal.setColor(QPalette::Window, app::toQColor(records::systemColor(15)));
    setPalette(pal);
    createControls();
    app::nameMainWindowControls(*this);
    connectControls();
    qApp->installEventFilter(this); // key preview: the window sees every key first

    Timer1.setInterval(advanceDelayMs);
    Timer2.setInterval(splashDelayMs);
    Timer1.setTimerType(Qt::PreciseTimer);
    Timer2.setTimerType(Qt::PreciseTimer);
    connect(&Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    connect(&Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);
    Timer2.start();

    // FormCreate
    PrepareMainWindow();
    InitSession();
}

TForm1::~TForm1() { qApp->removeEventFilter(this); }

QFont TForm1::toQFontForWindow() { return app::toQFont(resourceFont(12, false, records::windowTextColor)); }

void TForm1::attachWindows(TForm2* messageWindow, TForm3* resultsWindow, TForm4* settingsWindow,
                           TForm6* splash) {
    messageWindow_ = messageWindow;
    resultsWindow_ = resultsWindow;
    settingsWindow_ = settingsWindow;
    splash_ = splash;
    app::nameChildWindows(messageWindow, resultsWindow, settingsWindow, splash);
    if (splash_)
        splash_->returnFocusTo(this);
}

AutoLabel* TForm1::makeLabel(const QString& caption, int pixels, bool bold,
                             records::StoredColor color, bool centred) {
    auto* label = new AutoLabel(this, centred);
    label->setFontSpec(resourceFont(pixels, bold, color));
    label->setCaption(caption);
    return label;
}

void TForm1::createControls() {
    Image1 = new PictureBox(this);

    btn_s_up = new FlatButton(QStringLiteral("▲"), this);
    btn_s_down = new FlatButton(QStringLiteral("▼"), this);
    btn_c_up = new FlatButton(QStringLiteral("▲"), this);
    btn_c_down = new FlatButton(QStringLiteral("▼"), this);
    btn_s_up->setFontSpec(resourceFont(12, false, navy));
    btn_s_down->setFontSpec(resourceFont(12, false, navy));
    btn_c_up->setFontSpec(resourceFont(12, false, maroon));
    btn_c_down->setFontSpec(resourceFont(12, false, maroon));

    img_left = new PictureButton(this);
    img_right = new PictureButton(this);
    img_start = new PictureButton(this);
    img_giveup = new PictureButton(this);
    img_repeat = new PictureButton(this);
    img_check = makePictured<PictureButton>(this, QStringLiteral(":/art/check.pic"));
    img_delete = makePictured<PictureButton>(this, QStringLiteral(":/art/delete.pic"));
    img_setting = makePictured<PictureButton>(this, QStringLiteral(":/art/setting.pic"));
    img_exit = makePictured<PictureButton>(this, QStringLiteral(":/art/exit.pic"));

    Lbl_gakusyuu = makeLabel(QStringLiteral("学習"), 13, false, white);
    Lbl_testgakusyuu = makeLabel(QStringLiteral("テスト学習"), 13, false, white);
    Lbl_test = makeLabel(QStringLiteral("テスト"), 13, false, white);
    Lbl_seiseki = makeLabel(QStringLiteral("成績"), 13, false, white);
    for (AutoLabel* tab : {Lbl_gakusyuu, Lbl_testgakusyuu, Lbl_test, Lbl_seiseki})
        tab->setCursor(Qt::PointingHandCursor);
    lbl_step = makeLabel(QStringLiteral("1"), 19, true, black);
    lbl_chapter = makeLabel(QStringLiteral("1"), 19, true, black);

    Lbl_eibun = new AutoLabel(this, true);
    Lbl_eibun->setFontSpec(
        resourceFont(24, false, records::windowTextColor, "HGSｺﾞｼｯｸE"));
    Lbl_eibun->move(48, 112);
    Lbl_eibun->hide();
    Lbl_wabun = makeLabel({}, 19, true, records::windowTextColor, true);
    Lbl_wabun->move(48, 88);
    Lbl_wabun->hide();
    Lbl_counter = makeLabel(QStringLiteral("1"), 35, true, white, true);
    Lbl_counter->move(40, 184);

    Img_point = makePictured<PictureBox>(this, QStringLiteral(":/art/point.pic"));
    Lbl_point = makeLabel({}, 15, true, records::windowTextColor);
    Lbl_point->hide();
    Lbl_msg = makeLabel({}, 19, true, red, true);
    Lbl_msg->move(48, 144);
    Lbl_msg->hide();
    Lbl_seikai = makeLabel({}, 19, true, red, true);
    Lbl_seikai->move(40, 248);
    Lbl_seikai->hide();
    lbl_f1 = makeLabel(QStringLiteral("F1"), 12, false, white);
    lbl_f2 = makeLabel(QStringLiteral("F2"), 12, false, white);
    lbl_f3 = makeLabel(QStringLiteral("F3"), 12, false, white);
    lbl_title = makeLabel({}, 15, true, black);
    lbl_point2 = makeLabel({}, 15, true, records::windowTextColor);
    lbl_point2->hide();
    img_n1 = makePictured<PictureBox>(this, QStringLiteral(":/art/n1.pic"));
    img_n2 = makePictured<PictureBox>(this, QStringLiteral(":/art/n2.pic"));
    img_n3 = makePictured<PictureBox>(this, QStringLiteral(":/art/n3.pic"));
    lbl_f4 = makeLabel(QStringLiteral("F4"), 12, false, white);
    lbl_f5 = makeLabel(QStringLiteral("F5"), 12, false, white);

    Edit1 = new AnswerLine(this);
    // Its font comes with the other sizes (ApplyFontSizes), taken on when the line first shows.
    Edit1->setAttribute(Qt::WA_InputMethodEnabled, false);
    Edit1->setInputMethodHints(Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
}

// SetDefaultSentenceFont: the English sentence's own font, used until the learner picks another.
void TForm1::SetDefaultSentenceFont() {
    records::FontSpec stored = Lbl_eibun->fontSpec();
    stored.color = rgb(120, 0, 0);
    stored.name = app::cp932("MS Pゴシック");
    stored.charset = 128;
    stored.style = records::Bold;
    app::setFontPixels(stored, 24, app::screenPpi());
    Lbl_eibun->setFontSpec(stored);
    Lbl_eibun->setWidth(clientWidth);
}

void TForm1::PrepareMainWindow() {
    SetDefaultSentenceFont();
    platform::removeReadOnly(platform::appDir() + "/savedata/save.dat");
    ApplyFontSizes();
    LayoutMainWindow();
    Image1->copyFrom(ButtonBitmaps[BgBitmap], clientWidth, clientHeight);
}

void TForm1::ApplyFontSizes() {
    for (AutoLabel* label : {lbl_step, lbl_chapter})
        label->setFontPixels(16);
    Lbl_eibun->setFontPixels(24);
    Lbl_wabun->setFontPixels(16);
    Lbl_point->setFontPixels(15);
    lbl_point2->setFontPixels(15);
    records::FontSpec edit = resourceFont(21, true, records::windowTextColor);
    app::setFontPixels(edit, 22, app::screenPpi());
    Edit1->setAnswerFont(app::toQFont(edit));
    Lbl_seikai->setFontPixels(19);
    for (AutoLabel* label : {lbl_f1, lbl_f2, lbl_f3, lbl_f4, lbl_f5})
        label->setFontPixels(12);
    for (AutoLabel* tab : {Lbl_gakusyuu, Lbl_testgakusyuu, Lbl_test, Lbl_seiseki})
        tab->setFontPixels(13);
    for (FlatButton* button : {btn_s_up, btn_s_down, btn_c_up, btn_c_down}) {
        app::setFontPixels(button->fontSpec(), 12, app::screenPpi());
        button->applyFont();
    }
    lbl_title->setFontPixels(15);
}

void TForm1::LayoutMainWindow() {
    setFixedSize(clientWidth, clientHeight);
    Edit1->setGeometry(131, 240, 537, 29);
    lbl_step->move(61, 38);
    lbl_chapter->move(155, 38);
    Lbl_gakusyuu->move(69, 9);
    Lbl_testgakusyuu->move(127, 9);
    Lbl_test->move(218, 9);
    Lbl_seiseki->move(285, 9);
    lbl_title->move(195, 39);
    Lbl_point->move(232, 312);
    lbl_point2->move(232, 334);
    int i = 0;
    for (FlatButton* selector : {btn_s_up, btn_s_down, btn_c_up, btn_c_down})
        selector->setGeometry(688 + 24 * i++, 34, 25, 25);
    img_n1->setGeometry(299, 305, 30, 30);
    img_n2->setGeometry(384, 305, 30, 30);
    img_n3->setGeometry(470, 305, 30, 30);
    img_check->setGeometry(40, 465, 86, 20);
    img_delete->setGeometry(40, 524, 86, 20);
    img_setting->setGeometry(673, 465, 86, 20);
    img_exit->setGeometry(673, 524, 86, 20);
    Image1->resize(clientWidth, clientHeight);
    img_left->setGeometry(290, 447, 60, 60);
    img_right->setGeometry(451, 447, 60, 60);
    i = 0;
    for (PictureButton* button : {img_start, img_giveup, img_repeat})
        button->setGeometry(263 + 104 * i++, 537, 65, 27);
    Img_point->setGeometry(215, 289, 370, 70);
    lbl_f1->move(271, 472);
    lbl_f2->move(518, 472);
    lbl_f3->move(289, 569);
    lbl_f4->move(393, 569);
    lbl_f5->move(497, 569);
}

void TForm1::Timer2Timer() {
    if (splash_)
        app::bringToFront(*splash_);
    state_.windowFocusTag = session::SplashWindow;
    if (splash_)
        app::switchOn(splash_->Timer1);
    Timer2.stop();
}

void TForm1::FormActivate() {
    const std::pair<int, QWidget*> children[] = {{session::MessageWindow, messageWindow_},
                                                 {session::ResultsWindow, resultsWindow_},
                                                 {session::SettingsWindow, settingsWindow_},
                                                 {session::SplashWindow, splash_}};
    for (const auto& [tag, child] : children) {
        if (tag == state_.windowFocusTag && child && child->isVisible())
            app::bringToFront(*child);
    }
}

void TForm1::comeToFront() {
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

bool TForm1::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QWidget::event(event);
}

void TForm1::showEvent(QShowEvent* event) {
    if (!centredOnce_) {
        centredOnce_ = true;
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect desk = screen->availableGeometry();
            move(desk.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
        }
    }
    QWidget::showEvent(event);
}

// FormCloseQuery: everything is saved before the window goes; a failed save keeps it open.
void TForm1::closeEvent(QCloseEvent* event) {
    if (!SaveState()) {
        event->ignore();
        return;
    }
    for (QImage& bitmap : ButtonBitmaps)
        bitmap = QImage();
    event->accept();
    for (QWidget* child : std::initializer_list<QWidget*>{messageWindow_, resultsWindow_,
                                                          settingsWindow_, splash_}) {
        if (child)
            child->hide();
    }
    QCoreApplication::quit();
}
