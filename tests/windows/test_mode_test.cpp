#include "windows/window_fixture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodQueryEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

namespace {

// Typed answers and the test, driven as a learner does: keys into the window, presses on the
// picture buttons, clicks on the message window's YES and NO.
class TestModeTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        form1->Timer2.stop(); // no splash over the window in these tests
        form1->show();
        form1->activateWindow();
        // Activation comes through the event queue; keys reach the focused control only then.
        ASSERT_TRUE(settles([this] { return QApplication::activeWindow() == form1.get(); }));
    }
    bool answerLineHasFocus() { return form1->focusWidget() == form1->Edit1; }
    session::SessionState& s() { return form1->trainer().arrange(); }
    int slot() { return s().sentence.currentSlot; }
    std::string sentenceAt(int slotNumber) {
        return "Sentence " + std::to_string(s().sentence.idAt(slotNumber)) + ".";
    }

    void key(int k, const QString& text = {}) {
        QKeyEvent down(QEvent::KeyPress, k, Qt::NoModifier, text);
        QCoreApplication::sendEvent(form1->windowHandle(), &down);
        QKeyEvent up(QEvent::KeyRelease, k, Qt::NoModifier, text);
        QCoreApplication::sendEvent(form1->windowHandle(), &up);
    }
    void type(const std::string& text) {
        for (QChar c : QString::fromStdString(text))
            key(c == QLatin1Char(' ') ? Qt::Key_Space : Qt::Key_unknown, QString(c));
    }
    void enter() { key(Qt::Key_Return, QStringLiteral("\r")); }
    void answer(const std::string& text) {
        form1->Edit1->clear();
        type(text);
        enter();
    }
    void click(QWidget* button) {
        QMouseEvent down(QEvent::MouseButtonPress, QPointF(1, 1), button->mapToGlobal(QPointF(1, 1)),
                         Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(button, &down);
        QMouseEvent up(QEvent::MouseButtonRelease, QPointF(1, 1), button->mapToGlobal(QPointF(1, 1)),
                       Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(button, &up);
    }
    void chooseMode(AutoLabel* tab) { form1->Lbl_gakusyuuClick(tab); }
    void startTest() {
        chooseMode(form1->Lbl_test);
        click(form1->img_start);
    }
    // Takes a whole test with the given number of right answers first, then wrong ones.
    void takeTest(int right) {
        startTest();
        for (int n = 1; n <= 10; ++n)
            answer(n <= right ? sentenceAt(n) : "Wrong answer.");
    }
};

} // namespace

TEST_F(TestModeTest, ARightAnswerInTestStudyIsPraisedAndMovesOnAfterTheAdvance) {
    chooseMode(form1->Lbl_testgakusyuu);
    EXPECT_TRUE(answerLineHasFocus());
    sound.played.clear();
    type("Sentence 1.   ");
    enter();
    EXPECT_EQ(form1->Lbl_msg->text(), QStringLiteral("Very Good !"));
    EXPECT_TRUE(form1->Timer1.isActive());
    EXPECT_EQ(form1->Timer1.interval(), 2500);
    const int timerId = form1->Timer1.timerId();
    enter();
    EXPECT_EQ(form1->Timer1.timerId(), timerId) << "a second Enter does not restart the advance";
    form1->Timer1Timer();
    EXPECT_EQ(slot(), 2);
    EXPECT_TRUE(form1->Edit1->text().isEmpty());
    EXPECT_FALSE(form1->Lbl_msg->isVisible());
    EXPECT_FALSE(form1->Timer1.isActive());
}


TEST_F(TestModeTest, TheAnswerLineRefusesTheInputMethodAndJudgesFullWidthKeysFolded) {
    chooseMode(form1->Lbl_testgakusyuu);
    form1->Edit1->setReadOnly(true); // what switches a line edit's input method back on
    form1->Edit1->setReadOnly(false);
    QInputMethodQueryEvent query(Qt::ImEnabled | Qt::ImHints);
    QCoreApplication::sendEvent(QGuiApplication::focusObject(), &query);
    EXPECT_FALSE(query.value(Qt::ImEnabled).toBool());
    EXPECT_TRUE(query.value(Qt::ImHints).toInt() & Qt::ImhLatinOnly);
    answer("Ｓｅｎｔｅｎｃｅ　１。");
    EXPECT_EQ(form1->Lbl_msg->text(), QStringLiteral("Very Good !"));
}

TEST_F(TestModeTest, GiveUpInTestStudyRevealsTheSentenceAsTheOptionsSay) {
    s().showPoint = 0;
    chooseMode(form1->Lbl_testgakusyuu);
    type("Sen");
    key(Qt::Key_F4);
    EXPECT_TRUE(form1->Lbl_eibun->isVisible());
    EXPECT_EQ(form1->Lbl_eibun->text(), QStringLiteral("Sentence 1."));
    EXPECT_TRUE(form1->Lbl_wabun->isVisible());
    EXPECT_FALSE(form1->Lbl_point->isVisible());
    EXPECT_EQ(form1->Edit1->text(), QStringLiteral("Sen"));
}


TEST_F(TestModeTest, StudyModeNeverLeavesTheKeysWithTheHiddenAnswerLine) {
    chooseMode(form1->Lbl_testgakusyuu);
    chooseMode(form1->Lbl_gakusyuu);
    EXPECT_FALSE(answerLineHasFocus());
    type("abc");
    EXPECT_TRUE(form1->Edit1->text().isEmpty());
    sound.played.clear();
    enter();
    EXPECT_EQ(sound.played, std::vector<std::string>{voiceOf(1)}) << "Enter only presses repeat";
}

TEST_F(TestModeTest, StartShowsTheTestUnderWayAndTheThreePlays) {
    startTest();
    EXPECT_EQ(form1->Lbl_msg->text(), QStringLiteral("・・・　テスト中　・・・"));
    EXPECT_FALSE(form1->img_start->isHiddenByPress()) << "shown again on release, now disabled";
    EXPECT_TRUE(answerLineHasFocus());
    const std::array<PictureBox*, 3> digits{form1->img_n1, form1->img_n2, form1->img_n3};
    for (int play = 0; play <= 3; ++play, enter())
        for (int d = 0; d < 3; ++d)
            EXPECT_EQ(digits[d]->isVisible(), d >= play) << play;
}


TEST_F(TestModeTest, ScoreQuestionYesFilesTheResultAndOpensTheReview) {
    takeTest(7);
    EXPECT_EQ(slot(), 11);
    EXPECT_TRUE(form2->isVisible());
    EXPECT_EQ(form2->Label1->text(), QStringLiteral("得点 7 :  テスト結果を保存しますか？"));
    EXPECT_EQ(form1->Lbl_counter->text(), QStringLiteral("10"));
    // Nothing on the main window can add an eleventh answer meanwhile.
    key(Qt::Key_F4);
    enter();
    click(form1->img_giveup);
    EXPECT_EQ(slot(), 11);
    form2->SpeedButton1->click();
    EXPECT_FALSE(form2->isVisible());
    EXPECT_EQ(s().results.score(1, 1), 7);
    // The review: slot 1 with its answer and its mark.
    EXPECT_EQ(form1->Edit1->text().toStdString(), sentenceAt(1));
    EXPECT_EQ(form1->Lbl_seikai->text(), QStringLiteral("○正解  "));
    EXPECT_EQ(form1->Lbl_seikai->geometry(), QRect(0, 260, 800, 30));
    EXPECT_FALSE(form1->Lbl_msg->isVisible());
    key(Qt::Key_F1);
    EXPECT_EQ(form1->Lbl_seikai->text(), QStringLiteral("×不正解  "));
    EXPECT_EQ(form1->Edit1->text(), QStringLiteral("Wrong answer."));
}

TEST_F(TestModeTest, TheMarkJudgesTheStoredAnswerNotTheEditedInput) {
    takeTest(10);
    form2->SpeedButton2->click();
    form1->Edit1->setText(QStringLiteral("edited"));
    key(Qt::Key_F2);
    key(Qt::Key_F1);
    EXPECT_EQ(form1->Lbl_seikai->text(), QStringLiteral("○正解  "));
    EXPECT_EQ(form1->Edit1->text().toStdString(), sentenceAt(1));
    form1->Edit1->setText(QStringLiteral("edited"));
    chooseMode(form1->Lbl_gakusyuu);
    chooseMode(form1->Lbl_test);
    EXPECT_EQ(form1->Lbl_seikai->text(), QStringLiteral("○正解  ")) << "back in test mode: the review";
}


TEST_F(TestModeTest, AFailedSaveOfTheScoreKeepsTheQuestionOpen) {
    takeTest(4);
    std::filesystem::remove_all(dir.file("savedata"));
    form2->SpeedButton1->click();
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_TRUE(form2->isVisible()) << "the question stays for another try";
    std::filesystem::create_directory(dir.file("savedata"));
    form2->SpeedButton1->click();
    EXPECT_FALSE(form2->isVisible());
}




// What the rule decides reaches the line: the mark's place, counted in the characters shown, and
// its description; an edit takes both away.
TEST_F(TestModeTest, AWrongAnswerInTestStudyMarksWhereItFirstDeparts) {
    chooseMode(form1->Lbl_testgakusyuu);
    const struct {
        const char* typed;
        std::vector<app::TextMark> marks;
        const char* description;
    } rows[] = {
        {"Sentence  1.", {{9, 10, 9, 10}}, "10文字目 余分な空白"},
        {"Sentence 1", {{10, 10, 10, 10}}, "11文字目 文末の記号がない"},
        {"Ｓｅｎｔｅｎｃｅ 2.", {{9, 10, 9, 10}}, "10文字目 つづりの違い"},
        {"  ", {}, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed);
        sound.played.clear();
        answer(row.typed);
        EXPECT_EQ(sound.played, std::vector<std::string>{voiceOf(1)});
        EXPECT_EQ(form1->Edit1->text(), QString::fromUtf8(row.typed)) << "the line keeps what was typed";
        EXPECT_EQ(form1->Edit1->marks(), row.marks);
        EXPECT_EQ(form1->Edit1->accessibleDescription(), QString::fromUtf8(row.description));
    }
    answer("Sentence 1");
    type("x");
    EXPECT_TRUE(form1->Edit1->marks().empty());
    EXPECT_TRUE(form1->Edit1->accessibleDescription().isEmpty());
}

TEST_F(TestModeTest, TheReviewMarksTheAnswerAndTheSentenceButTheRunningTestDoesNot) {
    startTest();
    answer(" " + sentenceAt(1));
    answer("Sentence");
    EXPECT_TRUE(form1->Edit1->marks().empty()) << "the running test shows nothing new";
    for (int n = 2; n <= 10; ++n)
        answer(sentenceAt(n));
    form2->SpeedButton2->click();
    EXPECT_EQ(form1->Lbl_seikai->text(), QStringLiteral("×不正解  "));
    EXPECT_EQ(form1->Edit1->marks(), (std::vector<app::TextMark>{{0, 1, 0, 1}}));
    EXPECT_EQ(form1->Edit1->accessibleDescription(), QStringLiteral("1文字目 先頭の空白"));
    EXPECT_EQ(form1->Lbl_eibun->marks(), (std::vector<app::TextMark>{{0, 0, 0, 0}}));
    EXPECT_EQ(form1->Lbl_eibun->accessibleDescription(), QStringLiteral("1文字目 先頭の空白"));
    key(Qt::Key_F2);
    EXPECT_EQ(form1->Lbl_seikai->text(), QStringLiteral("○正解  "));
    EXPECT_TRUE(form1->Edit1->marks().empty());
    EXPECT_TRUE(form1->Lbl_eibun->marks().empty());
    EXPECT_TRUE(form1->Lbl_eibun->accessibleDescription().isEmpty());
}
