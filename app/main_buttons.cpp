// The picture buttons, mode tabs, selectors and function keys of the main window.
#include "app/main.h"

#include "app/Unit2.h"
#include "app/Unit4.h"
#include "session/choices.h"
#include "session/navigation.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWindow>

using records::rgb;
using session::NavButton;
using session::SessionMode;

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

// The five picture buttons below the sentence: the control, its pictures when it acts and when
// it does not, its size, and the function key that presses it.
struct NavigationButton {
    NavButton which;
    PictureButton* TForm1::*control;
    TForm1::Bitmap enabled;
    TForm1::Bitmap disabled;
    int width;
    int height;
    int functionKey;
};
constexpr NavigationButton navigationButtons[] = {
    {NavButton::Left, &TForm1::img_left, TForm1::LeftBitmap, TForm1::LeftCancelBitmap, 60, 60, vkF1},
    {NavButton::Right, &TForm1::img_right, TForm1::RightBitmap, TForm1::RightCancelBitmap, 60, 60,
     vkF1 + 1},
    {NavButton::Start, &TForm1::img_start, TForm1::StartBitmap, TForm1::StartCancelBitmap, 65, 27,
     vkF1 + 2},
    {NavButton::GiveUp, &TForm1::img_giveup, TForm1::GiveUpBitmap, TForm1::GiveUpCancelBitmap, 65,
     27, vkF1 + 3},
    {NavButton::Repeat, &TForm1::img_repeat, TForm1::RepeatBitmap, TForm1::RepeatCancelBitmap, 65,
     27, vkF1 + 4},
};

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
    for (const NavigationButton& nav : navigationButtons) {
        if (sender != this->*nav.control)
            continue;
        if (!state_.enabledButtons[nav.which])
            return;
        sender->hideForPress();
        pressNavigationButton(nav.which);
        return;
    }
    sender->hideForPress();
}

void TForm1::pressNavigationButton(NavButton which) {
    switch (which) {
    case NavButton::Left:
        PreviousSentence();
        break;
    case NavButton::Right:
        NextSentence();
        break;
    case NavButton::Start:
        if (state_.mode == SessionMode::Study)
            StartStudy();
        else if (state_.mode == SessionMode::TestStudy)
            StartTestStudy();
        else if (state_.mode == SessionMode::Test)
            StartTest();
        break;
    case NavButton::GiveUp:
        GiveUp();
        break;
    case NavButton::Repeat:
        PlaySentenceVoice();
        break;
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

void TForm1::refuseInTest() { ShowMessageWindow(session::MessageId::TestRunning); }

bool TForm1::choiceActs() {
    const session::Gate gate = session::gateOfChoice(state_);
    if (gate == session::Gate::RefusedInTest)
        refuseInTest();
    return gate == session::Gate::Acts;
}

void TForm1::img_settingClick() {
    if (!choiceActs())
        return;
    state_.windowFocusTag = session::SettingsWindow;
    if (settingsWindow_)
        app::bringToFront(*settingsWindow_);
}

void TForm1::img_exitClick() {
    if (choiceActs())
        ShowMessageWindow(session::MessageId::ExitQuestion);
}

void TForm1::SetNavigationButtons(session::EnabledButtons enabled) {
    for (const NavigationButton& nav : navigationButtons) {
        const bool acts = enabled[nav.which];
        (this->*nav.control)->copyFrom(ButtonBitmaps[acts ? nav.enabled : nav.disabled], nav.width,
                                       nav.height);
    }
    state_.enabledButtons = enabled;
}

void TForm1::HighlightModeTab(SessionMode mode) {
    for (AutoLabel* tab : {Lbl_gakusyuu, Lbl_testgakusyuu, Lbl_test, Lbl_seiseki})
        tab->setFontColor(tabWhite);
    AutoLabel* current = mode == SessionMode::Study       ? Lbl_gakusyuu
                         : mode == SessionMode::TestStudy ? Lbl_testgakusyuu
                         : mode == SessionMode::Test      ? Lbl_test
                                                          : Lbl_seiseki;
    current->setFontColor(tabYellow);
}

void TForm1::Lbl_gakusyuuMouseDown(AutoLabel* sender, Qt::MouseButton) {
    if (choiceActs())
        sender->setFontColor(tabGrey);
}

void TForm1::Lbl_gakusyuuMouseUp(AutoLabel*, Qt::MouseButton) { HighlightModeTab(state_.mode); }

void TForm1::ShowFunctionKeyCaptions(bool shown) {
    state_.showShortcuts = shown;
    for (AutoLabel* caption : {lbl_f1, lbl_f2, lbl_f3, lbl_f4, lbl_f5})
        caption->setVisible(shown);
}

void TForm1::pressAndRelease(PictureButton* button, Qt::KeyboardModifiers shift) {
    img_leftMouseDown(button, Qt::LeftButton, shift, QPoint(0, 0));
    img_leftMouseUp(button, Qt::LeftButton, shift, QPoint(0, 0));
}

bool TForm1::FormKeyDown(int key, Qt::KeyboardModifiers shift) {
    PictureButton* button = nullptr;
    if (key == vkReturn && state_.mode == SessionMode::Study)
        button = img_repeat;
    for (const NavigationButton& nav : navigationButtons)
        if (key == nav.functionKey)
            button = this->*nav.control;
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

// The step and chapter selectors.
void TForm1::changeStepOrChapter(int step, int chapter) {
    switch (session::changeStepOrChapter(state_, step, chapter, clock_.utcMillisecondsOfDay())) {
    case session::StepChange::Ignored:
        return;
    case session::StepChange::RefusedInTest:
        refuseInTest();
        return;
    case session::StepChange::Changed:
        break;
    }
    // A pending test-study advance belongs to the old chapter: the new one starts on slot 1.
    Timer1.stop();
    ShowStepAndChapter();
    ShowCounter();
    ShowChapterTitle();
    redrawCurrentView();
}

void TForm1::btn_s_upClick() { changeStepOrChapter(session::stepAfter(state_.step, 1), state_.chapter); }
void TForm1::btn_s_downClick() { changeStepOrChapter(session::stepAfter(state_.step, -1), state_.chapter); }
void TForm1::btn_c_upClick() { changeStepOrChapter(state_.step, session::chapterAfter(state_.chapter, 1)); }
void TForm1::btn_c_downClick() { changeStepOrChapter(state_.step, session::chapterAfter(state_.chapter, -1)); }
