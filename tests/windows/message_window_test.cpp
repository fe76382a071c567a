#include "windows/window_fixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWindow>

namespace {

class MessageWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        form1->show();
    }
    session::SessionState& s() { return form1->trainer().arrange(); }
    QString text() const { return form2->Label1->text(); }
    void pressF2() {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
        QCoreApplication::sendEvent(form1->windowHandle(), &down);
    }
};

} // namespace

TEST_F(MessageWindowTest, WindowAndControls) {
    EXPECT_EQ(form2->size(), QSize(330, 110));
    EXPECT_TRUE(form2->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(form2->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form2->SpeedButton1->geometry(), QRect(90, 72, 59, 19));
    EXPECT_EQ(form2->SpeedButton2->geometry(), QRect(180, 72, 59, 19));
    EXPECT_EQ(form2->SpeedButton1->text(), QStringLiteral("YES"));
    EXPECT_EQ(form2->SpeedButton2->text(), QStringLiteral("NO"));
    EXPECT_EQ(form2->SpeedButton1->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(form2->SpeedButton2->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(form2->Label1->font().pixelSize(), 15);
    EXPECT_EQ(form2->Timer1.interval(), 2700);
    EXPECT_EQ(form2->Timer1.timerType(), Qt::PreciseTimer);
    EXPECT_FALSE(form2->Timer1.isActive());
    EXPECT_FALSE(form2->isVisible());
}

TEST_F(MessageWindowTest, NoticesShowTheirTextAndGoWithTheirTimer) {
    struct Row {
        int number;
        const char* text;
    };
    const Row rows[] = {
        {1, "チェックリストに保存しました。"},
        {2, "すでにチェックリストに登録されています。"},
        {3, "チェックリストにはありません。"},
        {4, "チェックリストから削除しました。"},
        {5, "これ以上登録することはできません！"},
        {7, "テスト中は他の操作はできません！"},
        {9, "STEP Cはテストできません！"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.number);
        form1->trainer().showMessage(session::MessageId(row.number));
        EXPECT_EQ(text(), QString::fromUtf8(row.text));
        EXPECT_EQ(form2->Label1->geometry().topLeft(), QPoint(0, 47));
        EXPECT_EQ(form2->Label1->width(), 330);
        EXPECT_FALSE(form2->SpeedButton1->isVisible());
        EXPECT_FALSE(form2->SpeedButton2->isVisible());
        EXPECT_TRUE(form2->isVisible());
        EXPECT_TRUE(form2->Timer1.isActive());
        form2->Timer1Timer();
        EXPECT_FALSE(form2->isVisible());
        EXPECT_FALSE(form2->Timer1.isActive());
        EXPECT_EQ(s().windowFocusTag, session::NoWindow);
    }
}

TEST_F(MessageWindowTest, ASecondNoticeReplacesTheTextButKeepsTheTimerRunning) {
    form1->trainer().showMessage(session::MessageId(1));
    const int timerId = form2->Timer1.timerId();
    form1->trainer().showMessage(session::MessageId(3));
    EXPECT_EQ(text(), QStringLiteral("チェックリストにはありません。"));
    EXPECT_EQ(form2->Timer1.timerId(), timerId) << "a restart would give the timer a new id";
}


TEST_F(MessageWindowTest, AQuestionNeverClosesByItself) {
    form1->trainer().showMessage(session::MessageId(2)); // a notice leaves its timer running
    form1->trainer().showMessage(session::MessageId(6));
    EXPECT_EQ(text(), QStringLiteral("終了してもよろしいですか？"));
    EXPECT_EQ(form2->Label1->y(), 36);
    EXPECT_TRUE(form2->SpeedButton1->isVisible());
    EXPECT_TRUE(form2->SpeedButton2->isVisible());
    for (int tick = 0; tick < 3; ++tick)
        form2->Timer1Timer();
    EXPECT_TRUE(form2->isVisible());
    EXPECT_TRUE(form2->Timer1.isActive()) << "each tick finds the question and does nothing";
    EXPECT_EQ(s().windowFocusTag, session::MessageWindow);
}

TEST_F(MessageWindowTest, SaveQuestionShowsTheScore) {
    for (int score : {0, 7, 10}) {
        s().testRunning = 1;
        s().correctCount = score;
        form1->trainer().showMessage(session::MessageId(8));
        EXPECT_EQ(text(), QStringLiteral("得点 %1 :  テスト結果を保存しますか？").arg(score));
        EXPECT_TRUE(form2->SpeedButton1->isVisible());
    }
    EXPECT_EQ(text().toStdString(), "得点 10 :  テスト結果を保存しますか？");
}

TEST_F(MessageWindowTest, NoOnTheExitQuestionLeavesEverythingAsItWas) {
    form1->img_exitClick();
    EXPECT_EQ(text(), QStringLiteral("終了してもよろしいですか？"));
    EXPECT_EQ(sound.beeps, 1);
    form2->SpeedButton2->click();
    EXPECT_FALSE(form2->isVisible());
    EXPECT_TRUE(form1->isVisible());
    EXPECT_EQ(s().windowFocusTag, session::NoWindow);
    EXPECT_EQ(s().openQuestion, session::MessageId::None);
    EXPECT_FALSE(std::filesystem::exists(dir.file("savedata/save.dat")));
}

TEST_F(MessageWindowTest, YesOnTheExitQuestionSavesAndCloses) {
    form1->img_exitClick();
    form2->SpeedButton1->click();
    EXPECT_FALSE(form2->isVisible());
    EXPECT_FALSE(form1->isVisible());
    EXPECT_EQ(std::filesystem::file_size(dir.file("savedata/save.dat")), 17956u);
    EXPECT_TRUE(std::filesystem::exists(dir.file("savedata/fs.dat")));
}

TEST_F(MessageWindowTest, YesOnTheExitQuestionWithAFailedSaveKeepsTheProgramRunning) {
    std::filesystem::remove_all(dir.file("savedata"));
    form1->img_exitClick();
    form2->SpeedButton1->click();
    EXPECT_TRUE(form1->isVisible());
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("save.dat")));
}

TEST_F(MessageWindowTest, TheMainWindowWaitsWhileAQuestionIsOpen) {
    form1->img_exitClick();
    const int beeps = sound.beeps;
    pressF2();
    form1->Lbl_gakusyuuMouseDown(form1->Lbl_test, Qt::LeftButton);
    form1->Lbl_gakusyuuClick(form1->Lbl_test);
    form1->btn_c_upClick();
    form1->btn_s_upClick();
    form1->img_checkClick();
    form1->img_settingClick();
    form1->img_exitClick();
    EXPECT_EQ(s().sentence.currentSlot, 1);
    EXPECT_EQ(s().mode, session::SessionMode::Study);
    EXPECT_EQ(s().chapter, 1);
    EXPECT_EQ(s().step, 1);
    EXPECT_EQ(sound.beeps, beeps);
    EXPECT_TRUE(sound.played.empty());
    EXPECT_EQ(text(), QStringLiteral("終了してもよろしいですか？"));
    EXPECT_TRUE(form2->SpeedButton1->isVisible());
    form2->close(); // the desktop's close command is no answer
    EXPECT_TRUE(form2->isVisible());
    form2->SpeedButton2->click();
    pressF2();
    EXPECT_EQ(s().sentence.currentSlot, 2) << "answered: the window acts again";
}

TEST_F(MessageWindowTest, OverlayKindsAndPlace) {
    using session::Overlay;
    const std::pair<Overlay, int> kinds[] = {
        {Overlay::WaitingForStart, 16}, {Overlay::TestUnderWay, 16}, {Overlay::VeryGood, 19}};
    for (const auto& [kind, pixels] : kinds) {
        form1->showOverlay(kind);
        EXPECT_EQ(form1->Lbl_msg->font().pixelSize(), pixels);
        EXPECT_EQ(form1->Lbl_msg->geometry().topLeft(), QPoint(0, 150));
        EXPECT_EQ(form1->Lbl_msg->width(), 800);
        EXPECT_TRUE(form1->Lbl_msg->isVisible());
    }
    EXPECT_EQ(form1->Lbl_msg->text(), QStringLiteral("Very Good !"));
    form1->showOverlay(Overlay::None);
    EXPECT_FALSE(form1->Lbl_msg->isVisible());
}

TEST_F(MessageWindowTest, TimersArePrecise) {
    EXPECT_EQ(form1->Timer1.timerType(), Qt::PreciseTimer);
    EXPECT_EQ(form1->Timer2.timerType(), Qt::PreciseTimer);
    EXPECT_EQ(form6->Timer1.timerType(), Qt::PreciseTimer);
}

TEST_F(MessageWindowTest, ClosingTheSplashHandsTheFocusToTheMainWindow) {
    form1->Timer2Timer();
    QCoreApplication::processEvents();
    form6->Timer1Timer();
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), form1.get());
}
