#include "windows/window_fixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

namespace {

class ButtonsTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        form1->show(); // the native window carries the key preview
    }
    session::SessionState& s() { return form1->trainer().arrange(); }
    int slot() { return s().sentence.currentSlot; }

    void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint pos = {1, 1}) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? button : Qt::NoButton;
        QMouseEvent event(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, held,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(w, &event);
    }
    void press(QWidget* w, Qt::MouseButton b = Qt::LeftButton) {
        mouse(w, QEvent::MouseButtonPress, b);
    }
    void release(QWidget* w, Qt::MouseButton b = Qt::LeftButton, QPoint pos = {1, 1}) {
        mouse(w, QEvent::MouseButtonRelease, b, pos);
    }
    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QKeyEvent down(QEvent::KeyPress, k, mods);
        QCoreApplication::sendEvent(form1->windowHandle(), &down);
    }
    QColor colourOf(const PictureBox* b) { return b->picture().pixelColor(0, 0); }
    QColor tabColour(const AutoLabel* tab) { return tab->palette().color(QPalette::WindowText); }
};

} // namespace

TEST_F(ButtonsTest, EachViewSetsItsButtonsLooksAndFlags) {
    EXPECT_EQ(s().enabledButtons, (session::EnabledButtons{.left = true, .right = true, .start = true, .repeat = true}));
    EXPECT_EQ(colourOf(form1->img_left), bitmapColour("l_button.bmp"));
    EXPECT_EQ(colourOf(form1->img_giveup), bitmapColour("giveup_cancel.bmp"));
    form1->Lbl_gakusyuuClick(form1->Lbl_testgakusyuu);
    EXPECT_EQ(s().enabledButtons, (session::EnabledButtons{.left = true, .right = true, .start = true, .giveUp = true, .repeat = true}));
    EXPECT_EQ(colourOf(form1->img_giveup), bitmapColour("giveup.bmp"));
    form1->Lbl_gakusyuuClick(form1->Lbl_test);
    EXPECT_EQ(s().enabledButtons, (session::EnabledButtons{.start = true}));
    EXPECT_EQ(colourOf(form1->img_left), bitmapColour("l_button_cancel.bmp"));
    EXPECT_EQ(colourOf(form1->img_right), bitmapColour("r_button_cancel.bmp"));
    EXPECT_EQ(colourOf(form1->img_start), bitmapColour("start.bmp"));
    EXPECT_EQ(colourOf(form1->img_repeat), bitmapColour("repeat_cancel.bmp"));
}

TEST_F(ButtonsTest, PressHidesActsAndReleaseShowsAgain) {
    press(form1->img_right);
    EXPECT_TRUE(form1->img_right->isHiddenByPress());
    EXPECT_EQ(slot(), 2) << "next acts on the press";
    release(form1->img_right, Qt::LeftButton, {500, 500}); // let go far outside the button
    EXPECT_FALSE(form1->img_right->isHiddenByPress());
    EXPECT_EQ(slot(), 2);
}

TEST_F(ButtonsTest, DisabledButtonIgnoresPressKeyAndRelease) {
    form1->Lbl_gakusyuuClick(form1->Lbl_test); // previous and next disabled
    press(form1->img_left);
    EXPECT_FALSE(form1->img_left->isHiddenByPress());
    key(Qt::Key_F1);
    key(Qt::Key_F2);
    EXPECT_EQ(slot(), 1);
    release(form1->img_left);
    EXPECT_FALSE(form1->img_left->isHiddenByPress());
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(ButtonsTest, RightButtonDoesNothingMiddleButtonPresses) {
    press(form1->img_right, Qt::RightButton);
    EXPECT_FALSE(form1->img_right->isHiddenByPress());
    EXPECT_EQ(slot(), 1);
    press(form1->img_right, Qt::MiddleButton);
    EXPECT_TRUE(form1->img_right->isHiddenByPress());
    EXPECT_EQ(slot(), 2);
    release(form1->img_right, Qt::MiddleButton);
    EXPECT_FALSE(form1->img_right->isHiddenByPress());
    for (Qt::MouseButton sideButton : {Qt::BackButton, Qt::ForwardButton}) {
        press(form1->img_right, sideButton);
        EXPECT_FALSE(form1->img_right->isHiddenByPress());
        EXPECT_EQ(slot(), 2) << "the back and forward buttons do nothing";
    }
}

TEST_F(ButtonsTest, UtilityButtonClicksOnlyWhenReleasedOverIt) {
    int clicks = 0;
    QObject::connect(form1->img_exit, &PictureButton::clicked, [&] { ++clicks; });
    press(form1->img_exit, Qt::MiddleButton);
    EXPECT_TRUE(form1->img_exit->isHiddenByPress());
    release(form1->img_exit, Qt::MiddleButton);
    EXPECT_FALSE(form1->img_exit->isHiddenByPress());
    press(form1->img_exit);
    release(form1->img_exit, Qt::LeftButton, {200, 5});
    EXPECT_FALSE(form1->img_exit->isHiddenByPress());
    EXPECT_EQ(clicks, 0);
    press(form1->img_exit);
    release(form1->img_exit);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonsTest, FunctionKeysPressTheNavigationButtons) {
    key(Qt::Key_F2);
    key(Qt::Key_F2, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(slot(), 3) << "modifiers do not matter";
    key(Qt::Key_F1);
    EXPECT_EQ(slot(), 2);
    key(Qt::Key_F5);
    EXPECT_EQ(sound.played.back(), voiceOf(2));
    key(Qt::Key_F3);
    EXPECT_EQ(slot(), 1);
    EXPECT_FALSE(form1->img_start->isHiddenByPress()) << "a key presses and releases";
    const size_t plays = sound.played.size();
    key(Qt::Key_F4); // give-up is disabled in study
    EXPECT_EQ(sound.played.size(), plays);
}


TEST_F(ButtonsTest, TabsGreyWhileHeldYellowForTheMode) {
    const QColor white(255, 255, 255), yellow(255, 255, 0), grey(150, 150, 150);
    EXPECT_EQ(tabColour(form1->Lbl_gakusyuu), yellow);
    EXPECT_EQ(tabColour(form1->Lbl_test), white);
    press(form1->Lbl_test, Qt::RightButton);
    EXPECT_EQ(tabColour(form1->Lbl_test), grey);
    release(form1->Lbl_test, Qt::RightButton);
    EXPECT_EQ(tabColour(form1->Lbl_test), white);
    EXPECT_EQ(s().mode, session::SessionMode::Study);
    press(form1->Lbl_test);
    release(form1->Lbl_test);
    EXPECT_EQ(s().mode, session::SessionMode::Test);
    EXPECT_EQ(tabColour(form1->Lbl_test), yellow);
    EXPECT_EQ(tabColour(form1->Lbl_gakusyuu), white);
}

TEST_F(ButtonsTest, TabPressDuringATestChangesNothing) {
    form1->Lbl_gakusyuuClick(form1->Lbl_test);
    s().testRunning = 1;
    press(form1->Lbl_seiseki);
    release(form1->Lbl_seiseki);
    EXPECT_EQ(s().mode, session::SessionMode::Test);
    EXPECT_TRUE(form2->isVisible()) << "the learner is told why";
    EXPECT_EQ(tabColour(form1->Lbl_seiseki), QColor(255, 255, 255));
    EXPECT_EQ(tabColour(form1->Lbl_test), QColor(255, 255, 0));
}

TEST_F(ButtonsTest, FunctionKeyCaptions) {
    const auto shown = [this] {
        int n = 0;
        for (auto* c : {form1->lbl_f1, form1->lbl_f2, form1->lbl_f3, form1->lbl_f4, form1->lbl_f5})
            n += c->isHidden() ? 0 : 1;
        return n;
    };
    EXPECT_EQ(shown(), 0);
    form1->showFunctionKeyCaptions(true);
    EXPECT_EQ(shown(), 5);
    form1->showFunctionKeyCaptions(false);
    EXPECT_EQ(shown(), 0);
}
