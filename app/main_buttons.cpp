// The picture buttons, mode tabs, selectors and function keys of the main window.
#include "app/main.h"

#include "app/Unit2.h"
#include "records/Unit4.h"
#include "session/navigation.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWindow>

using records::rgb;

namespace {

const records::StoredColor tabWhite = rgb(255, 255, 255);
const records::StoredColor tabYellow = rgb(255, 255, 0);
const records::StoredColor tabGrey = rgb(150, 150, 150);

constexpr int vkReturn = 13;

// The left and the middle button work the picture buttons; the others do nothing there.
bool actingButton(Qt::MouseButton button) {
    return button == Qt::LeftButton || button == Qt::MiddleButton;
}
constexpr int vkF1 = 112;

int virtualKey(int qtKey) {
    if (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter)
        return vkReturn;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return vkF1 + (qtKey - Qt::Key_F1);
    return 0;
}

} // namespace

void TForm1::connectControls() {
    for (PictureButton* button : {img_left, img_right, img_start, img_giveup, img_repeat, img_check,
                                  img_delete, img_setting, img_exit}) {
        connect(button, &PictureButton::mousePressed, this, &TForm1::img_leftMouseDown);
        connect(button, &PictureButton::mouseReleased, this, &TForm1::img_leftMouseUp);
    }
    connect(img_right, &PictureButton::clicked, this, &TForm1::img_rightClick);
    connect(img_check, &PictureButton::clicked, this, &TForm1::img_checkClick);
    connect(img_delete, &PictureButton::clicked, this, &TForm1::img_deleteClick);
    connect(img_setting, &PictureButton::clicked, this, &TForm1::img_settingClick);
    connect(img_exit, &PictureButton::clicked, this, &TForm1::img_exitClick);
    for (AutoLabel* tab : {Lbl_gakusyuu, Lbl_testgakusyuu, Lbl_test, Lbl_seiseki}) {
        connect(tab, &AutoLabel::mousePressed, this, &TForm1::Lbl_gakusyuuMouseDown);
        connect(tab, &AutoLabel::clicked, this, &TForm1::Lbl_gakusyuuClick);
        connect(tab, &AutoLabel::mouseReleased, this, &TForm1::Lbl_gakusyuuMouseUp);
    }
    connect(btn_s_up, &QToolButton::clicked, this, &TForm1::btn_s_upClick);
    connect(btn_s_down, &QToolButton::clicked, this, &TForm1::btn_s_downClick);
    connect(btn_c_up, &QToolButton::clicked, this, &TForm1::btn_c_upClick);
    connect(btn_c_down, &QToolButton::clicked, this, &TForm1::btn_c_downClick);
    connect(Edit1, &QLineEdit::returnPressed, this, &TForm1::Edit1KeyPress);
}

void TForm1::img_leftMouseDown(PictureButton* sender, Qt::MouseButton button,
                               Qt::KeyboardModifiers, QPoint) {
    if (!actingButton(button) || !session::mainWindowActs(state_))
        return;
    const auto enabled = [this](session::NavButton b) { return state_.buttonEnabled[b] != 0; };
    if (sender == img_left) {
        if (!enabled(session::LeftButton))
            return;
        img_left->hideForPress();
        PreviousSentence();
    } else if (sender == img_right) {
        if (!enabled(session::RightButton))
            return;
        img_right->hideForPress();
        NextSentence();
    } else if (sender == img_start) {
        if (!enabled(session::StartButton))
            return;
        img_start->hideForPress();
        if (state_.mode == session::StudyMode)
            StartStudy();
        else if (state_.mode == session::TestStudyMode)
            StartTestStudy();
        else if (state_.mode == session::TestMode)
            StartTest();
    } else if (sender == img_giveup) {
        if (!enabled(session::GiveUpButton))
            return;
        img_giveup->hideForPress();
        GiveUp();
    } else if (sender == img_repeat) {
        if (!enabled(session::RepeatButton))
            return;
        img_repeat->hideForPress();
        PlaySentenceVoice();
    } else {
        sender->hideForPress();
    }
}

void TForm1::img_leftMouseUp(PictureButton* sender, Qt::MouseButton button, Qt::KeyboardModifiers,
                             QPoint) {
    if (!actingButton(button))
        return;
    sender->showAgain();
}

void TForm1::img_checkClick() {
    if (session::mainWindowActs(state_))
        AddToChecklist();
}

void TForm1::img_deleteClick() {
    if (session::mainWindowActs(state_))
        RemoveFromChecklist();
}

void TForm1::img_settingClick() {
    if (!session::mainWindowActs(state_))
        return;
    if (state_.testRunning) {
        ShowMessageWindow(7);
        return;
    }
    state_.windowFocusTag = session::SettingsWindow;
    if (settingsWindow_) {
        settingsWindow_->show();
        settingsWindow_->raise();
        settingsWindow_->activateWindow();
    }
}

void TForm1::img_exitClick() {
    if (session::mainWindowActs(state_))
        ShowMessageWindow(state_.testRunning ? 7 : 6);
}

void TForm1::SetNavigationButtons(int left, int right, int start, int giveUp, int repeat) {
    struct Look {
        PictureButton* button;
        int flag;
        Bitmap enabled;
        Bitmap disabled;
        int width;
        int height;
    };
    const Look looks[] = {
        {img_left, left, LeftBitmap, LeftCancelBitmap, 60, 60},
        {img_right, right, RightBitmap, RightCancelBitmap, 60, 60},
        {img_start, start, StartBitmap, StartCancelBitmap, 65, 27},
        {img_giveup, giveUp, GiveUpBitmap, GiveUpCancelBitmap, 65, 27},
        {img_repeat, repeat, RepeatBitmap, RepeatCancelBitmap, 65, 27},
    };
    for (int i = 0; i < session::navButtonCount; ++i) {
        const Look& look = looks[i];
        look.button->copyFrom(ButtonBitmaps[look.flag ? look.enabled : look.disabled], look.width,
                              look.height);
        state_.buttonEnabled[i] = look.flag ? 1 : 0;
    }
}

void TForm1::HighlightModeTab(int mode) {
    for (AutoLabel* tab : {Lbl_gakusyuu, Lbl_testgakusyuu, Lbl_test, Lbl_seiseki})
        tab->setFontColor(tabWhite);
    AutoLabel* current = mode == session::StudyMode       ? Lbl_gakusyuu
                         : mode == session::TestStudyMode ? Lbl_testgakusyuu
                         : mode == session::TestMode      ? Lbl_test
                         : mode == session::ResultsMode   ? Lbl_seiseki
                                                          : nullptr;
    if (current)
        current->setFontColor(tabYellow);
}

void TForm1::Lbl_gakusyuuMouseDown(AutoLabel* sender, Qt::MouseButton) {
    if (!session::mainWindowActs(state_))
        return;
    if (state_.testRunning) {
        ShowMessageWindow(7);
        return;
    }
    sender->setFontColor(tabGrey);
}

void TForm1::Lbl_gakusyuuMouseUp(AutoLabel*, Qt::MouseButton) { HighlightModeTab(state_.mode); }

void TForm1::ShowFunctionKeyCaptions(int value) {
    state_.showShortcuts = static_cast<std::uint8_t>(value);
    if (value != 0 && value != 1)
        return;
    for (AutoLabel* caption : {lbl_f1, lbl_f2, lbl_f3, lbl_f4, lbl_f5})
        caption->setVisible(value == 1);
}

void TForm1::pressAndRelease(PictureButton* button, Qt::KeyboardModifiers shift) {
    img_leftMouseDown(button, Qt::LeftButton, shift, QPoint(0, 0));
    img_leftMouseUp(button, Qt::LeftButton, shift, QPoint(0, 0));
}

bool TForm1::FormKeyDown(int key, Qt::KeyboardModifiers shift) {
    PictureButton* button = nullptr;
    if (key == vkReturn && state_.mode == session::StudyMode)
        button = img_repeat;
    else if (key >= vkF1 && key < vkF1 + session::navButtonCount)
        button = std::array{img_left, img_right, img_start, img_giveup, img_repeat}[key - vkF1];
    if (!button)
        return false;
    pressAndRelease(button, shift);
    return true;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    // Key preview: a key comes to the window's native window once, before the window hands it
    // to the focused control; the window acts on it there and lets it go on unconsumed.
    if (event->type() == QEvent::KeyPress && watched == static_cast<QObject*>(windowHandle())) {
        const auto* key = static_cast<QKeyEvent*>(event);
        FormKeyDown(virtualKey(key->key()), key->modifiers());
    }
    return QWidget::eventFilter(watched, event);
}

// The step and chapter selectors. While a test runs the step and chapter must stay as they
// were: the result is filed under them and the answers are scored against this order.
void TForm1::changeStepOrChapter(int step, int chapter) {
    if (!session::mainWindowActs(state_))
        return;
    if (state_.testRunning) {
        ShowMessageWindow(7);
        return;
    }
    // The main window keeps what it showed while the results window is open: a new step or
    // chapter there would put another sentence under the one on screen.
    if (state_.mode == session::ResultsMode)
        return;
    if (step == state_.step && chapter == state_.chapter)
        return;
    // A pending test-study advance belongs to the old chapter: the new one starts on slot 1.
    Timer1.stop();
    state_.step = step;
    state_.chapter = chapter;
    // A review belongs to the chapter it was taken in; another chapter starts from the idle view.
    state_.reviewActive = 0;
    ShowStepAndChapter();
    state_.sentence.currentSlot = 1;
    BuildSentenceOrder();
    ShowCounter();
    ShowChapterTitle();
    redrawCurrentView();
}

void TForm1::btn_s_upClick() { changeStepOrChapter(session::stepAfter(state_.step, 1), state_.chapter); }
void TForm1::btn_s_downClick() { changeStepOrChapter(session::stepAfter(state_.step, -1), state_.chapter); }
void TForm1::btn_c_upClick() { changeStepOrChapter(state_.step, session::chapterAfter(state_.chapter, 1)); }
void TForm1::btn_c_downClick() { changeStepOrChapter(state_.step, session::chapterAfter(state_.chapter, -1)); }
