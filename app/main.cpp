#include "app/main.h"

#include "app/Unit2.h"
#include "app/Unit3.h"
#include "app/Unit4.h"
#include "app/Unit6.h"
#include "app/accessible_names.h"
#include "app/display_scaling.h"
#include "app/text_literals.h"
#include "platform_qt/packed_picture.h"

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

// A label's font at the screen's resolution, as the learner's screen is given the sizes.
records::FontSpec screenFont(int pixels, bool bold, records::StoredColor color) {
    records::FontSpec stored = resourceFont(pixels, bold, color);
    app::setFontPixels(stored, pixels, app::screenPpi());
    return stored;
}

// A picture button or picture box at its place, showing one of the program's own pictures (or,
// with no resource, the pictures the session copies into it).
template <typename Control>
Control* makePictured(QWidget* parent, const QString& resource, const QRect& place) {
    auto* control = new Control(parent);
    if (!resource.isEmpty())
        control->setPicture(app::loadPicture(resource));
    control->setGeometry(place);
    return control;
}

} // namespace

TForm1::TForm1(platform::Sound& sound, platform::Clock& clock)
    : TForm1(sound, clock, app::readStartFiles()) {}

TForm1::TForm1(platform::Sound& sound, platform::Clock& clock, StartFiles files)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      trainer_(std::move(files.course), sound, clock, app::screenPpi()),
      ButtonBitmaps(std::move(files.bitmaps)) {
    trainer_.attach(*this);
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
    trainer_.start(Lbl_eibun->height());
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

AutoLabel* TForm1::makeLabel(const QString& caption, const records::FontSpec& font, QPoint at,
                             bool centred) {
    auto* label = new AutoLabel(this, centred);
    label->setFontSpec(font);
    label->setCaption(caption);
    label->move(at);
    return label;
}

// A centred line that shows only once it is given a text of its own.
AutoLabel* TForm1::makeHiddenLine(const records::FontSpec& font, QPoint at) {
    auto* line = new AutoLabel(this, true);
    line->setFontSpecForText(font);
    line->move(at);
    line->hide();
    return line;
}

// Each control is made in the font it shows in and at its place, once; the order of making is the
// order in which they overlap, the first at the bottom.
void TForm1::createControls() {
    setFixedSize(clientWidth, clientHeight);
    Image1 = new PictureBox(this);
    Image1->resize(clientWidth, clientHeight);
    Image1->copyFrom(ButtonBitmaps[BgBitmap], clientWidth, clientHeight);

    const auto makeSelector = [this](const QString& arrow, records::StoredColor color, int x) {
        auto* selector = new FlatButton(arrow, this);
        selector->setFontSpec(screenFont(12, false, color));
        selector->setGeometry(x, 34, 25, 25);
        return selector;
    };
    btn_s_up = makeSelector(QStringLiteral("▲"), navy, 688);
    btn_s_down = makeSelector(QStringLiteral("▼"), navy, 712);
    btn_c_up = makeSelector(QStringLiteral("▲"), maroon, 736);
    btn_c_down = makeSelector(QStringLiteral("▼"), maroon, 760);

    img_left = makePictured<PictureButton>(this, {}, {290, 447, 60, 60});
    img_right = makePictured<PictureButton>(this, {}, {451, 447, 60, 60});
    img_start = makePictured<PictureButton>(this, {}, {263, 537, 65, 27});
    img_giveup = makePictured<PictureButton>(this, {}, {367, 537, 65, 27});
    img_repeat = makePictured<PictureButton>(this, {}, {471, 537, 65, 27});
    img_check = makePictured<PictureButton>(this, QStringLiteral(":/art/check.pic"), {40, 465, 86, 20});
    img_delete = makePictured<PictureButton>(this, QStringLiteral(":/art/delete.pic"), {40, 524, 86, 20});
    img_setting = makePictured<PictureButton>(this, QStringLiteral(":/art/setting.pic"), {673, 465, 86, 20});
    img_exit = makePictured<PictureButton>(this, QStringLiteral(":/art/exit.pic"), {673, 524, 86, 20});

    Lbl_gakusyuu = makeLabel(QStringLiteral("学習"), screenFont(13, false, white), {69, 9});
    Lbl_testgakusyuu = makeLabel(QStringLiteral("テスト学習"), screenFont(13, false, white), {127, 9});
    Lbl_test = makeLabel(QStringLiteral("テスト"), screenFont(13, false, white), {218, 9});
    Lbl_seiseki = makeLabel(QStringLiteral("成績"), screenFont(13, false, white), {285, 9});
    for (AutoLabel* tab : {Lbl_gakusyuu, Lbl_testgakusyuu, Lbl_test, Lbl_seiseki})
        tab->setCursor(Qt::PointingHandCursor);
    lbl_step = makeLabel(QStringLiteral("1"), screenFont(16, true, black), {61, 38});
    lbl_chapter = makeLabel(QStringLiteral("1"), screenFont(16, true, black), {155, 38});

    const records::StoredLabel& sentence = trainer_.sentenceLabel();
    Lbl_eibun = makeLabel({}, sentence.font, {sentence.left, sentence.top}, true);
    Lbl_eibun->hide();
    Lbl_wabun = makeLabel({}, screenFont(16, true, records::windowTextColor), {48, 88}, true);
    Lbl_wabun->hide();
    Lbl_counter = makeLabel(QStringLiteral("1"), resourceFont(35, true, white), {40, 184}, true);

    Img_point = makePictured<PictureBox>(this, QStringLiteral(":/art/point.pic"), {215, 289, 370, 70});
    Lbl_point = makeLabel({}, screenFont(15, true, records::windowTextColor), {232, 312});
    Lbl_point->hide();
    Lbl_msg = makeHiddenLine(resourceFont(19, true, red), {48, 144});
    Lbl_seikai = makeHiddenLine(screenFont(19, true, red), {40, 248});
    lbl_f1 = makeLabel(QStringLiteral("F1"), screenFont(12, false, white), {271, 472});
    lbl_f2 = makeLabel(QStringLiteral("F2"), screenFont(12, false, white), {518, 472});
    lbl_f3 = makeLabel(QStringLiteral("F3"), screenFont(12, false, white), {289, 569});
    lbl_title = makeLabel({}, screenFont(15, true, black), {195, 39});
    lbl_point2 = makeLabel({}, screenFont(15, true, records::windowTextColor), {232, 334});
    lbl_point2->hide();
    img_n1 = makePictured<PictureBox>(this, QStringLiteral(":/art/n1.pic"), {299, 305, 30, 30});
    img_n2 = makePictured<PictureBox>(this, QStringLiteral(":/art/n2.pic"), {384, 305, 30, 30});
    img_n3 = makePictured<PictureBox>(this, QStringLiteral(":/art/n3.pic"), {470, 305, 30, 30});
    lbl_f4 = makeLabel(QStringLiteral("F4"), screenFont(12, false, white), {393, 569});
    lbl_f5 = makeLabel(QStringLiteral("F5"), screenFont(12, false, white), {497, 569});

    Edit1 = new AnswerLine(this);
    Edit1->setGeometry(131, 240, 537, 29);
    // Taken on when the line first shows: it is hidden at start.
    records::FontSpec answer = resourceFont(21, true, records::windowTextColor);
    app::setFontPixels(answer, 22, app::screenPpi());
    Edit1->setAnswerFont(app::toQFont(answer));
}

void TForm1::Timer2Timer() {
    if (splash_)
        app::bringToFront(*splash_);
    trainer_.splashShown();
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
        if (tag == state().windowFocusTag && child && child->isVisible())
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
    if (!trainer_.save()) {
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
