#include "windows/window_fixture.h"

using session::SessionMode;

namespace {

class StudyTest : public WindowTest {
protected:
    session::SessionState& s() { return form1->trainer().arrange(); }
    QString english() const { return form1->Lbl_eibun->text(); }
    void switchTo(AutoLabel* tab) { form1->Lbl_gakusyuuClick(tab); }
    int slot() { return s().sentence.currentSlot; }
};

} // namespace

TEST_F(StudyTest, StartsOnSlotOneOfStudyWithoutAVoice) {
    EXPECT_EQ(s().mode, SessionMode::Study);
    EXPECT_EQ(slot(), 1);
    EXPECT_EQ(english(), QStringLiteral("Sentence 1."));
    EXPECT_EQ(form1->Lbl_eibun->geometry(), QRect(0, 210, 800, 30));
    EXPECT_EQ(form1->Lbl_wabun->text(), QStringLiteral("J1"));
    EXPECT_EQ(form1->Lbl_wabun->geometry(), QRect(0, 146, 800, 30));
    EXPECT_EQ(form1->Lbl_point->text(), QStringLiteral("P1a"));
    EXPECT_EQ(form1->lbl_point2->text(), QStringLiteral("P1b"));
    EXPECT_FALSE(form1->Lbl_point->isHidden());
    EXPECT_FALSE(form1->Img_point->isHidden());
    EXPECT_TRUE(form1->Edit1->isHidden());
    EXPECT_TRUE(form1->img_n1->isHidden() && form1->img_n2->isHidden() && form1->img_n3->isHidden());
    EXPECT_TRUE(sound.played.empty());
    EXPECT_EQ(form1->lbl_step->text(), QStringLiteral("1"));
    EXPECT_EQ(form1->lbl_chapter->text(), QStringLiteral("1"));
}

TEST_F(StudyTest, CounterSitsCentredBetweenTheArrows) {
    for (int n : {1, 10}) {
        s().sentence.currentSlot = n;
        form1->showCounter();
        EXPECT_EQ(form1->Lbl_counter->text(), QString::number(n));
        EXPECT_EQ(form1->Lbl_counter->x(), 350);
        EXPECT_EQ(form1->Lbl_counter->width(), 99);
        EXPECT_EQ(form1->Lbl_counter->y(), 459) << "(60 - 35) / 2 + 447 with the 35-pixel font";
    }
}



TEST_F(StudyTest, StudyShowsEverythingOfTheNewSlot) {
    form1->trainer().nextSentence();
    EXPECT_EQ(english(), QStringLiteral("Sentence 2."));
    EXPECT_EQ(form1->Lbl_wabun->text(), QStringLiteral("J2"));
    EXPECT_EQ(form1->Lbl_point->text(), QStringLiteral("P2a"));
}

TEST_F(StudyTest, TestStudyHearsTheSentenceWithoutShowingIt) {
    switchTo(form1->Lbl_testgakusyuu);
    EXPECT_TRUE(sound.played.empty()) << "a mode switch plays nothing";
    EXPECT_TRUE(form1->Lbl_eibun->isHidden());
    EXPECT_TRUE(form1->Lbl_wabun->isHidden());
    EXPECT_TRUE(form1->Img_point->isHidden());
    EXPECT_FALSE(form1->Edit1->isHidden());
    EXPECT_EQ(form1->Edit1->pos(), QPoint(131, 221));
}

TEST_F(StudyTest, TestLayoutsSitHigher) {
    switchTo(form1->Lbl_testgakusyuu);
    form1->trainer().giveUp({}); // the sentence shows
    form1->showTranslation(5);
    EXPECT_EQ(form1->Lbl_eibun->geometry(), QRect(0, 166, 800, 30));
    EXPECT_EQ(form1->Lbl_wabun->geometry(), QRect(0, 125, 800, 30));
}

TEST_F(StudyTest, OptionsHideTranslationAndPointsOutsideTests) {
    s().showTranslation = 0;
    s().showPoint = 0;
    form1->trainer().showStudyView();
    EXPECT_TRUE(form1->Lbl_wabun->text().isEmpty()) << "shown, but empty";
    EXPECT_TRUE(form1->Lbl_point->isHidden());
    EXPECT_TRUE(form1->lbl_point2->isHidden());
    EXPECT_FALSE(form1->Img_point->isHidden()) << "the frame keeps its visibility";
    switchTo(form1->Lbl_testgakusyuu);
    switchTo(form1->Lbl_gakusyuu);
    EXPECT_TRUE(form1->Img_point->isHidden()) << "after test study the frame is hidden too";

    switchTo(form1->Lbl_test);
    form1->showTranslation(3);
    form1->showPoints(3);
    EXPECT_EQ(form1->Lbl_wabun->text(), QStringLiteral("J3")) << "a test shows all the same";
    EXPECT_FALSE(form1->Lbl_wabun->isHidden());
    EXPECT_FALSE(form1->Lbl_point->isHidden());
    EXPECT_FALSE(form1->Img_point->isHidden());
}





TEST_F(StudyTest, EmptyChecklistSlotShowsNoSentence) {
    form1->btn_s_downClick(); // step 1 wraps to the checklist pages
    EXPECT_EQ(s().step, 6);
    EXPECT_EQ(form1->lbl_step->text(), QStringLiteral("C"));
    EXPECT_EQ(form1->lbl_title->text(), QStringLiteral("Check Sentence"));
    EXPECT_EQ(english(), QStringLiteral("no sentence"));
    EXPECT_TRUE(form1->Lbl_wabun->text().isEmpty());
}

TEST_F(StudyTest, SelectorsMoveToSlotOneOfTheNewChapter) {
    s().sentence.currentSlot = 5;
    form1->btn_s_upClick();
    EXPECT_EQ(form1->lbl_step->text(), QStringLiteral("2"));
    EXPECT_EQ(form1->lbl_title->text(), QStringLiteral("Title 11"));
    EXPECT_EQ(english(), QStringLiteral("Sentence 101."));
    form1->btn_c_downClick();
    EXPECT_EQ(form1->lbl_chapter->text(), QStringLiteral("10"));
    EXPECT_EQ(english(), QStringLiteral("Sentence 191."));
    EXPECT_TRUE(sound.played.empty()) << "choosing a chapter is silent";
}



TEST_F(StudyTest, UndecodableBytesShowAsReplacementCharacters) {
    std::string text = "[S1-C01]  \x8a\xbf\x85\x40\r\n";
    for (int i = 1; i <= 10; ++i)
        text += "x\r\n\x82\xa0\x82\r\nBroken \xff line.\r\np\r\nq\r\n";
    dir.write("text/c1.txt", text);
    form1->trainer().readCourse();
    form1->trainer().initSession();
    EXPECT_EQ(form1->lbl_title->text(), QStringLiteral("漢\uFFFD@"));
    EXPECT_EQ(english(), QStringLiteral("Broken \uFFFD line."));
    EXPECT_EQ(form1->Lbl_wabun->text(), QStringLiteral("あ\uFFFD"));
}
