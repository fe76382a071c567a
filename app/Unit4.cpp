#include "app/Unit4.h"

#include "app/font_dialog.h"
#include "app/main.h"
#include "app/text_literals.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>


namespace {

constexpr int settingsClientWidth = 397;
constexpr int settingsClientHeight = 463;
constexpr int windowPixels = 12;

records::FontSpec windowFont(int pixels) {
    records::FontSpec stored;
    stored.name = app::cp932("ＭＳ Ｐゴシック");
    stored.charset = 128;
    stored.color = records::windowTextColor;
    app::setFontPixels(stored, pixels, app::screenPpi());
    return stored;
}

} // namespace

TForm4::TForm4(TForm1& main)
    // Owned by the main window, which window managers then keep it in front of.
    : QWidget(&main, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint),
      main_(main) {
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral(" ◆ Setting"));
    setFixedSize(settingsClientWidth, settingsClientHeight);
    setFont(app::toQFont(windowFont(windowPixels)));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, app::toQColor(records::systemColor(15)));
    setPalette(pal);
    createControls();
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* focused) {
        if (focused && focused != windowHandle() &&
            (!FontDialog1 || focused != FontDialog1->windowHandle()))
            inFontDialog_ = false; // the learner went elsewhere: coming back reloads the ticks
    });
}

// Made at its first opening: its list of every installed face would cost each start a few
// milliseconds for a dialog most sessions never open. It is kept afterwards, so it reopens on
// the last confirmed choice.
app::FontDialog& TForm4::fontDialog() {
    if (!FontDialog1) {
        FontDialog1 = new app::FontDialog(this, windowFont(windowPixels));
        connect(FontDialog1, &QDialog::accepted, this, &TForm4::applyChosenFont);
        connect(FontDialog1, &QDialog::finished, this, [this] {
            if (isVisible())
                activateWindow(); // back to the settings, whatever the desktop would pick
        });
    }
    return *FontDialog1;
}

void TForm4::createControls() {
    const auto heading = [this](const char* text, int left, int top) {
        auto* label = new AutoLabel(this);
        label->setFontSpec(windowFont(windowPixels));
        label->setCaption(QString::fromUtf8(text));
        label->move(left, top);
        return label;
    };
    const auto frame = [this](int top) {
        auto* box = new QGroupBox(this);
        box->setGeometry(32, top, 337, 89);
        return box;
    };
    const auto checkBox = [this](const char* text, QRect geometry) {
        auto* box = new QCheckBox(QString::fromUtf8(text), this);
        box->setGeometry(geometry);
        return box;
    };
    const auto button = [](const char* text, QWidget* parent, QPoint clientPos) {
        auto* b = new FlatButton(QString::fromUtf8(text), parent, true);
        b->setFontSpec(windowFont(windowPixels));
        const QPoint offset = parent->isWindow() ? QPoint() : parent->pos();
        b->setGeometry(QRect(clientPos - offset, QSize(87, 22)));
        return b;
    };

    Label1 = heading("■初期化関連", 35, 16);
    GroupBox1 = frame(32);
    CheckBox1 = checkBox("初期状態に戻す", {48, 50, 129, 25});
    CheckBox3 = checkBox("チェックリストのクリア", {208, 50, 129, 25});
    CheckBox2 = checkBox("成績をクリアする", {48, 82, 129, 25});
    Label2 = heading("■学習時の設定", 35, 148);
    GroupBox2 = frame(164);
    CheckBox6 = checkBox("和訳を表示する", {48, 186, 129, 17});
    CheckBox7 = checkBox("ポイントを表示する", {208, 184, 153, 21});
    CheckBox5 = checkBox("ショートカットの表示", {48, 214, 129, 25});
    CheckBox4 = checkBox("文順をランダムにする", {208, 214, 129, 25});
    Label3 = heading("■フォント", 35, 276);
    GroupBox3 = frame(293);
    SpeedButton3 = button("標準フォント", GroupBox3, {82, 330});
    SpeedButton4 = button("フォント変更", GroupBox3, {222, 330});
    SpeedButton1 = button("実行", this, {82, 410});
    SpeedButton2 = button("キャンセル", this, {222, 410});

    QWidget* order[] = {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox6, CheckBox7};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(SpeedButton1, &QToolButton::clicked, this, &TForm4::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm4::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &TForm4::SpeedButton3Click);
    connect(SpeedButton4, &QToolButton::clicked, this, &TForm4::SpeedButton4Click);
}

session::SettingsTicks TForm4::ticks() const {
    session::SettingsTicks t;
    t.resetAll = CheckBox1->isChecked();
    t.clearResults = CheckBox2->isChecked();
    t.clearChecklist = CheckBox3->isChecked();
    t.randomOrder = CheckBox4->isChecked();
    t.showShortcuts = CheckBox5->isChecked();
    t.showTranslation = CheckBox6->isChecked();
    t.showPoint = CheckBox7->isChecked();
    return t;
}

void TForm4::showTicks(const session::SettingsTicks& t) {
    CheckBox1->setChecked(t.resetAll);
    CheckBox2->setChecked(t.clearResults);
    CheckBox3->setChecked(t.clearChecklist);
    CheckBox4->setChecked(t.randomOrder);
    CheckBox5->setChecked(t.showShortcuts);
    CheckBox6->setChecked(t.showTranslation);
    CheckBox7->setChecked(t.showPoint);
}

void TForm4::FormActivate() { showTicks(session::ticksFor(main_.state())); }

bool TForm4::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        if (inFontDialog_)
            inFontDialog_ = false;
        else
            FormActivate();
    }
    return QWidget::event(event);
}

// Shown in the middle of the desktop, never with the ticks of an earlier opening.
void TForm4::showEvent(QShowEvent* event) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() -
             QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    FormActivate();
    QWidget::showEvent(event);
}

void TForm4::leave() {
    hide();
    main_.activateWindow();
}

// Done and saved, the window goes; refused in a test, or failed and reported, it stays with what
// was applied.
void TForm4::SpeedButton1Click() {
    if (main_.trainer().executeSettings(ticks()) == session::SettingsOutcome::Applied)
        leave();
}

void TForm4::SpeedButton2Click() {
    main_.trainer().childWindowClosed();
    leave();
}

// FormCloseQuery: the close box drops the ticks as "キャンセル" does, and always lets go.
void TForm4::closeEvent(QCloseEvent* event) {
    main_.trainer().childWindowClosed();
    event->accept();
    main_.activateWindow();
}

void TForm4::SpeedButton3Click() { main_.trainer().useDefaultSentenceFont(); }

void TForm4::SpeedButton4Click() {
    inFontDialog_ = true;
    fontDialog().openOnFont();
}

void TForm4::applyChosenFont() { main_.trainer().chooseSentenceFont(fontDialog().chosenFont()); }
