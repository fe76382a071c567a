#include "windows/window_fixture.h"

#include "session/checklist.h"

#include <QCoreApplication>
#include <QMouseEvent>

namespace {

class ChecklistTest : public WindowTest {
protected:
    session::SessionState& s() { return form1->trainer().arrange(); }
    session::checklist::List& list() { return s().sentence.checklist; }
    QString notice() const { return form2->isVisible() ? form2->Label1->text() : QString(); }
};

} // namespace

TEST_F(ChecklistTest, NothingDuringATestAndTheReviewKeepsItsPairing) {
    list()[0] = 5;
    form1->Lbl_gakusyuuClick(form1->Lbl_test);
    form1->trainer().startTest();
    form1->img_checkClick();
    form1->img_deleteClick();
    EXPECT_EQ(list()[0], 5);
    EXPECT_EQ(list()[1], 0);
    for (int n = 1; n <= 10; ++n) {
        form1->Edit1->setText(QStringLiteral("Sentence %1.").arg(s().sentence.currentId()));
        form1->trainer().recordAnswer(form1->answerLineText());
    }
    form2->SpeedButton2Click();
    const auto order = s().sentence.order;
    while (s().sentence.currentId() != 5)
        form1->trainer().nextSentence();
    form1->img_deleteClick();
    EXPECT_EQ(list()[0], 0);
    EXPECT_EQ(s().sentence.order, order) << "the review keeps the order the test was taken in";
    EXPECT_EQ(form1->Lbl_seikai->text(), QStringLiteral("○正解  "));
}

TEST_F(ChecklistTest, ADoubleClickOnCheckIsOneClick) {
    form1->show();
    auto mouse = [&](QEvent::Type type) {
        QMouseEvent event(type, QPointF(2, 2), form1->img_check->mapToGlobal(QPointF(2, 2)),
                          Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(form1->img_check, &event);
    };
    mouse(QEvent::MouseButtonPress);
    mouse(QEvent::MouseButtonRelease);
    mouse(QEvent::MouseButtonDblClick);
    EXPECT_TRUE(form1->img_check->isHiddenByPress()) << "the second press presses";
    mouse(QEvent::MouseButtonRelease);
    EXPECT_FALSE(form1->img_check->isHiddenByPress());
    EXPECT_EQ(notice(), QStringLiteral("チェックリストに保存しました。"));
    EXPECT_EQ(list()[1], 0);
}

namespace {

class ResultsWindowTest : public ChecklistTest {
protected:
    QString cell(int column, int row) { return form3->StringGrid1->cell(column, row); }
    void openResults() { form1->Lbl_gakusyuuClick(form1->Lbl_seiseki); }
    QColor tab(AutoLabel* label) { return label->palette().color(QPalette::WindowText); }
};

} // namespace

TEST_F(ResultsWindowTest, LayoutOfTheWindow) {
    EXPECT_EQ(form3->windowTitle(), QStringLiteral(" ◆ 成績"));
    EXPECT_EQ(form3->size(), QSize(690, 348));
    EXPECT_EQ(form3->StringGrid1->geometry(), QRect(24, 49, 642, 276));
    const QStringList captions{QStringLiteral("STEP1"), QStringLiteral("STEP2"), QStringLiteral("STEP3"),
                               QStringLiteral("STEP4"), QStringLiteral("STEP5"), QStringLiteral("DAY"),
                               QStringLiteral("EXIT")};
    const int lefts[] = {24, 99, 174, 249, 324, 523, 598};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(form3->buttons()[i]->text(), captions[i]);
        EXPECT_EQ(form3->buttons()[i]->geometry(), QRect(lefts[i], 16, 65, 20));
    }
    EXPECT_EQ(form3->StringGrid1->cellRect(0, 0), QRect(0, 0, 80, 24));
    EXPECT_EQ(form3->StringGrid1->cellRect(11, 10), QRect(80 + 1 + 10 * 51, 10 * 25, 50, 24));
}

TEST_F(ResultsWindowTest, OpensOnStepOneScoresAndTogglesToDates) {
    s().results.scores[0][20] = 7;
    s().results.scores[2][20] = 8;
    s().results.dates[0][20].assign("12/8");
    openResults();
    EXPECT_TRUE(form3->isVisible());
    EXPECT_EQ(s().windowFocusTag, session::ResultsWindow);
    EXPECT_EQ(cell(0, 0), QStringLiteral("Step1"));
    EXPECT_EQ(cell(11, 0), QStringLiteral("Ave."));
    EXPECT_EQ(cell(11, 1), QString()) << "an empty table shows only its headings";
    form3->SpeedButton6->click();
    EXPECT_EQ(form3->SpeedButton6->text(), QStringLiteral("POINT"));
    form3->SpeedButton3->click(); // the dates of step 3
    EXPECT_EQ(cell(0, 0), QStringLiteral("Step3"));
    EXPECT_EQ(cell(1, 1), QStringLiteral("12/8"));
    EXPECT_EQ(cell(11, 1), QStringLiteral("7.5"));
    form3->SpeedButton6->click();
    EXPECT_EQ(cell(1, 1), QStringLiteral("7"));
    EXPECT_EQ(cell(2, 1), QString());
    EXPECT_EQ(cell(3, 1), QStringLiteral("8"));
    EXPECT_EQ(form3->SpeedButton6->text(), QStringLiteral("DAY"));
    form3->SpeedButton7->click();
    openResults();
    EXPECT_EQ(cell(0, 0), QStringLiteral("Step1")) << "reopened on step 1 in the scores view";
    EXPECT_EQ(form3->SpeedButton6->text(), QStringLiteral("DAY"));
}

TEST_F(ResultsWindowTest, ClosingReturnsToTheModeBefore) {
    form1->Lbl_gakusyuuClick(form1->Lbl_testgakusyuu);
    openResults();
    form3->close(); // the close box
    EXPECT_FALSE(form3->isVisible());
    EXPECT_EQ(tab(form1->Lbl_testgakusyuu), QColor(255, 255, 0));
    EXPECT_EQ(tab(form1->Lbl_seiseki), QColor(255, 255, 255));
    EXPECT_EQ(s().windowFocusTag, session::NoWindow);
    EXPECT_FALSE(form1->Edit1->isHidden()) << "the test-study view is drawn again";
}


TEST_F(ResultsWindowTest, TheGridDrawsEveryCell) {
    openResults();
    QImage image(form3->StringGrid1->size(), QImage::Format_RGB32);
    form3->StringGrid1->render(&image);
    EXPECT_EQ(image.pixelColor(80, 5), QColor(192, 192, 192)) << "the line after column 0";
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));
    bool blue = false;
    for (int x = 0; x < 80 && !blue; ++x)
        for (int y = 0; y < 24 && !blue; ++y)
            blue = image.pixelColor(x, y).blue() > 150 && image.pixelColor(x, y).red() < 100;
    EXPECT_TRUE(blue) << "the corner heading is drawn in blue";
}
