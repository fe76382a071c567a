// The picture buttons, mode tabs, selectors and function keys of the main window.
#include "app/main.h"


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

// The left and the middle button work the picture buttons; the others do nothing there.
bool actingButton(Qt::MouseButton button) {
    return button == Qt::LeftButton || button == Qt::MiddleButton;
}

session::Key previewedKey(int qtKey) {
    using session::Key;
    if (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter)
        return Key::Enter;
    constexpr Key functionKeys[] = {Key::F1, Key::F2, Key::F3, Key::F4, Key::F5};
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F5)
        return functionKeys[qtKey - Qt::Key_F1];
    return Key::Other;
}

// The five picture buttons below the sentence: the control, its pictures when it acts and when
// it does not, and its size.
struct NavigationButton {
    NavButton which;
    PictureButton* TForm1::*control;
    TForm1::Bitmap enabled;
    TForm1::Bitmap disabled;
    int width;
    int height;
};
constexpr NavigationButton navigationButtons[] = {
    {NavButton::Left, &TForm1::img_left, TForm1::LeftBitmap, TForm1::LeftCancelBitmap, 60, 60},
    {NavButton::Right, &TForm1::img_right, TForm1::RightBitmap, TForm1::RightCancelBitmap, 60, 60},
    {NavButton::Start, &TForm1::img_start, TForm1::StartBitmap, TForm1::StartCancelBitmap, 65, 27},
    {NavButton::GiveUp, &TForm1::img_giveup, TForm1::GiveUpBitmap, TForm1::GiveUpCancelBitmap, 65, 27},
    {NavButton::Repeat, &TForm1::img_repeat, TForm1::RepeatBitmap, TForm1::RepeatCancelBitmap, 65, 27},
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
    if (!actingButton(button) || !trainer_.windowActs())
        return;
    for (const NavigationButton& nav : navigationButtons) {
        if (sender != this->*nav.control)
            continue;
        if (!trainer_.buttonActs(nav.which))
            return;
        sender->hideForPress();
        trainer_.press(nav.which);
        return;
    }
    sender->hideForPress();
}

void TForm1::img_leftMouseUp(PictureButton* sender, Qt::MouseButton button, Qt::KeyboardModifiers,
                             QPoint) {
    if (!actingButton(button))
        return;
    sender->showAgain();
}

void TForm1::img_checkClick() { trainer_.addToChecklist(); }

void TForm1::img_deleteClick() { trainer_.removeFromChecklist(); }

void TForm1::img_settingClick() { trainer_.openSettings(); }

void TForm1::img_exitClick() { trainer_.askToExit(); }

void TForm1::showNavigationButtons(session::EnabledButtons enabled) {
    for (const NavigationButton& nav : navigationButtons) {
        const bool acts = enabled[nav.which];
        (this->*nav.control)->copyFrom(ButtonBitmaps[acts ? nav.enabled : nav.disabled], nav.width,
                                       nav.height);
    }
}

void TForm1::showModeTab(SessionMode mode) {
    for (AutoLabel* tab : {Lbl_gakusyuu, Lbl_testgakusyuu, Lbl_test, Lbl_seiseki})
        tab->setFontColor(tabWhite);
    AutoLabel* current = mode == SessionMode::Study       ? Lbl_gakusyuu
                         : mode == SessionMode::TestStudy ? Lbl_testgakusyuu
                         : mode == SessionMode::Test      ? Lbl_test
                                                          : Lbl_seiseki;
    current->setFontColor(tabYellow);
}

void TForm1::Lbl_gakusyuuMouseDown(AutoLabel* sender, Qt::MouseButton) {
    if (trainer_.choiceActs())
        sender->setFontColor(tabGrey);
}

void TForm1::Lbl_gakusyuuMouseUp(AutoLabel*, Qt::MouseButton) { showModeTab(state().mode); }

void TForm1::showFunctionKeyCaptions(bool shown) {
    for (AutoLabel* caption : {lbl_f1, lbl_f2, lbl_f3, lbl_f4, lbl_f5})
        caption->setVisible(shown);
}

void TForm1::pressAndRelease(PictureButton* button, Qt::KeyboardModifiers shift) {
    img_leftMouseDown(button, Qt::LeftButton, shift, QPoint(0, 0));
    img_leftMouseUp(button, Qt::LeftButton, shift, QPoint(0, 0));
}

bool TForm1::FormKeyDown(session::Key key, Qt::KeyboardModifiers shift) {
    const std::optional<NavButton> pressed = trainer_.buttonOfKey(key);
    if (!pressed)
        return false;
    for (const NavigationButton& nav : navigationButtons)
        if (nav.which == *pressed)
            pressAndRelease(this->*nav.control, shift);
    return true;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    // Key preview: a key comes to the window's native window once, before the window hands it
    // to the focused control; the window acts on it there and lets it go on unconsumed.
    if (event->type() == QEvent::KeyPress && watched == static_cast<QObject*>(windowHandle())) {
        const auto* key = static_cast<QKeyEvent*>(event);
        FormKeyDown(previewedKey(key->key()), key->modifiers());
    }
    return QWidget::eventFilter(watched, event);
}

// The step and chapter selectors.
void TForm1::btn_s_upClick() { trainer_.changeStep(1); }
void TForm1::btn_s_downClick() { trainer_.changeStep(-1); }
void TForm1::btn_c_upClick() { trainer_.changeChapter(1); }
void TForm1::btn_c_downClick() { trainer_.changeChapter(-1); }
