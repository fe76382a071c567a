#include "windows/window_fixture.h"

#include "platform/cp932.h"

#include <QApplication>
#include <QCloseEvent>
#include <QWindow>

namespace {

QColor pixelOf(const PictureBox* picture, int x, int y) { return picture->picture().pixelColor(x, y); }

} // namespace

TEST_F(WindowTest, CaptionSizeAndFrame) {
    EXPECT_EQ(form1->windowTitle(), QStringLiteral(" ◆ Yomirin！　ビギナー編"));
    EXPECT_EQ(form1->size(), QSize(800, 600));
    EXPECT_EQ(form1->minimumSize(), form1->maximumSize()) << "the window cannot be resized";
    EXPECT_FALSE(form1->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(form1->windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST_F(WindowTest, ControlsStandAtTheirPlaces) {
    struct Place {
        QWidget* control;
        QRect rect;
    };
    const Place places[] = {
        {form1->Image1, {0, 0, 800, 600}},        {form1->btn_s_up, {688, 34, 25, 25}},
        {form1->btn_s_down, {712, 34, 25, 25}},   {form1->btn_c_up, {736, 34, 25, 25}},
        {form1->btn_c_down, {760, 34, 25, 25}},   {form1->img_left, {290, 447, 60, 60}},
        {form1->img_right, {451, 447, 60, 60}},   {form1->img_start, {263, 537, 65, 27}},
        {form1->img_giveup, {367, 537, 65, 27}},  {form1->img_repeat, {471, 537, 65, 27}},
        {form1->img_check, {40, 465, 86, 20}},    {form1->img_delete, {40, 524, 86, 20}},
        {form1->img_setting, {673, 465, 86, 20}}, {form1->img_exit, {673, 524, 86, 20}},
        {form1->img_n1, {299, 305, 30, 30}},      {form1->img_n2, {384, 305, 30, 30}},
        {form1->img_n3, {470, 305, 30, 30}},      {form1->Img_point, {215, 289, 370, 70}},
    };
    for (const Place& place : places)
        EXPECT_EQ(place.control->geometry(), place.rect) << place.control->metaObject()->className();
    const std::pair<QWidget*, QPoint> labels[] = {
        {form1->lbl_step, {61, 38}},      {form1->lbl_chapter, {155, 38}},
        {form1->Lbl_gakusyuu, {69, 9}},   {form1->Lbl_testgakusyuu, {127, 9}},
        {form1->Lbl_test, {218, 9}},      {form1->Lbl_seiseki, {285, 9}},
        {form1->lbl_title, {195, 39}},    {form1->Lbl_point, {232, 312}},
        {form1->lbl_point2, {232, 334}},  {form1->lbl_f1, {271, 472}},
        {form1->lbl_f2, {518, 472}},      {form1->lbl_f3, {289, 569}},
        {form1->lbl_f4, {393, 569}},      {form1->lbl_f5, {497, 569}},
    };
    for (const auto& [label, pos] : labels)
        EXPECT_EQ(label->pos(), pos);
    EXPECT_EQ(form1->Edit1->size(), QSize(537, 29));
}

TEST_F(WindowTest, FontsAtStart) {
    // The offscreen screen has 96 dots per inch.
    EXPECT_EQ(form1->lbl_step->fontSpec().size, 12);
    EXPECT_EQ(form1->lbl_step->font().pixelSize(), 16);
    form1->show();
    form1->Edit1->show(); // hidden in the study view; it takes its font on as it shows
    EXPECT_EQ(form1->Edit1->font().pixelSize(), 21) << "22 pixels asked give 16 points";
    const records::FontSpec& sentence = form1->Lbl_eibun->fontSpec();
    EXPECT_EQ(sentence.size, 18);
    EXPECT_EQ(sentence.pixels(), 24);
    EXPECT_EQ(platform::cp932ToUtf8(sentence.name), "MS Pゴシック");
    EXPECT_EQ(sentence.color, 120);
    EXPECT_EQ(sentence.style, records::Bold);
    EXPECT_EQ(sentence.charset, 128);
    EXPECT_EQ(form1->Lbl_eibun->font().family(), QStringLiteral("IPAPGothic"))
        << "the stored face is drawn with an installed one";
    EXPECT_EQ(form1->Lbl_gakusyuu->font().pixelSize(), 13);
    EXPECT_EQ(form1->lbl_title->font().pixelSize(), 15);
}

// Labels are made without measuring and measured when their size or caption is set: each one on
// show must have the size of its caption in the font it shows with.
TEST_F(WindowTest, EveryLabelOnShowHasTheSizeOfItsCaption) {
    form1->show();
    int shown = 0;
    for (const AutoLabel* label : form1->findChildren<AutoLabel*>()) {
        // The sentence, its translation and the counter are laid out on widths of their own; the
        // child windows the main window owns are not its controls.
        if (label->window() != form1.get() || !label->isVisible() || label == form1->Lbl_eibun || label == form1->Lbl_wabun ||
            label == form1->Lbl_counter)
            continue;
        ++shown;
        const QFontMetrics metrics(label->font());
        EXPECT_EQ(label->size(), QSize(std::max(1, metrics.horizontalAdvance(label->text())),
                                       metrics.height()))
            << label->accessibleName().toStdString();
    }
    EXPECT_GE(shown, 8);
}

// A font given to the hidden line must be there by the time it shows, however it comes to show:
// on its own, or with the window it is in; a shown line takes a font at once.
TEST_F(WindowTest, AnswerLineShowsInTheFontItWasGivenWhileHidden) {
    QWidget window;
    auto* ownShow = new AnswerLine(&window);
    auto* withWindow = new AnswerLine(&window);
    ownShow->hide();
    QFont big = ownShow->font();
    big.setPixelSize(30);
    ownShow->setAnswerFont(big);
    withWindow->setAnswerFont(big);
    window.show();
    EXPECT_EQ(withWindow->font().pixelSize(), 30);
    ownShow->show();
    EXPECT_EQ(ownShow->font().pixelSize(), 30);
    QFont small = big;
    small.setPixelSize(11);
    ownShow->setAnswerFont(small);
    EXPECT_EQ(ownShow->font().pixelSize(), 11);
    ownShow->hide();
    ownShow->show();
    EXPECT_EQ(ownShow->font().pixelSize(), 11) << "a font given once is not given again";
}

TEST_F(WindowTest, BackgroundIsCopiedAndTitleShown) {
    EXPECT_EQ(pixelOf(form1->Image1, 0, 0), bitmapColour("bg.bmp"));
    EXPECT_EQ(pixelOf(form1->Image1, 799, 599), QColor(Qt::white)) << "marker pixel of an 800 x 600 file";
    EXPECT_EQ(form1->lbl_title->text(), QStringLiteral("Title 1"));
}

TEST_F(WindowTest, ClosingFreesTheBitmapsAndIsNeverRefused) {
    QCloseEvent event;
    QCoreApplication::sendEvent(form1.get(), &event);
    EXPECT_TRUE(event.isAccepted());
    for (const QImage& bitmap : form1->buttonBitmaps())
        EXPECT_TRUE(bitmap.isNull());
}

TEST_F(WindowTest, SplashComesOnceAndGoesAfterFourSeconds) {
    EXPECT_TRUE(form1->Timer2.isActive());
    EXPECT_EQ(form1->Timer2.interval(), 10);
    EXPECT_FALSE(form6->Timer1.isActive());
    EXPECT_EQ(form6->size(), QSize(476, 359));
    form1->show();
    form1->Timer2Timer();
    EXPECT_TRUE(form6->isVisible());
    EXPECT_EQ(form1->state().windowFocusTag, session::SplashWindow);
    EXPECT_FALSE(form1->Timer2.isActive());
    EXPECT_TRUE(form6->Timer1.isActive());
    EXPECT_EQ(form6->Timer1.interval(), 4000);
    form6->Timer1Timer();
    EXPECT_FALSE(form6->isVisible());
    EXPECT_FALSE(form6->Timer1.isActive());
    EXPECT_EQ(form1->state().windowFocusTag, session::SplashWindow) << "nothing clears the tag";
    form1->FormActivate(); // the splash is hidden: nothing is brought back
    EXPECT_FALSE(form6->isVisible());
}

// Window managers keep a child window in front of the window it is transient for, and some refuse
// one transient for a hidden leader window; each kind of window is placed and stacked by its type.
TEST_F(WindowTest, EveryChildWindowIsTransientForTheMainWindow) {
    form1->show();
    form1->Timer2Timer();
    form1->trainer().showMessage(session::MessageId::ExitQuestion);
    form3->open();
    form4->show();
    const struct {
        QWidget* window;
        Qt::WindowType type;
    } rows[] = {{form2.get(), Qt::Dialog},
                {form3.get(), Qt::Dialog},
                {form4.get(), Qt::Dialog},
                {form6.get(), Qt::SplashScreen}};
    for (const auto& row : rows) {
        const char* name = row.window->metaObject()->className();
        ASSERT_NE(row.window->windowHandle(), nullptr) << name;
        EXPECT_EQ(row.window->windowHandle()->transientParent(), form1->windowHandle()) << name;
        EXPECT_EQ(row.window->windowType(), row.type) << name;
        EXPECT_TRUE(row.window->windowFlags() & Qt::WindowStaysOnTopHint) << name;
    }
}

TEST_F(WindowTest, ActivatingTheMainWindowBringsTheSplashBack) {
    form1->show();
    form1->Timer2Timer();
    form1->activateWindow();
    QCoreApplication::processEvents();
    form1->FormActivate();
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), form6.get());
}

class LargeBitmapTest : public WindowTest {
protected:
    void SetUp() override {
        createOnSetUp = false;
        WindowTest::SetUp();
        writeBitmaps(dir, {1024, 768}, {80, 80}, {100, 40});
        createWindows();
    }
};

TEST_F(LargeBitmapTest, OnlyTheTopLeftRectangleIsDrawn) {
    EXPECT_EQ(form1->Image1->picture().size(), QSize(800, 600));
    EXPECT_EQ(pixelOf(form1->Image1, 799, 599), bitmapColour("bg.bmp"));
    EXPECT_EQ(form1->img_left->picture().size(), QSize(60, 60));
    EXPECT_EQ(form1->img_start->picture().size(), QSize(65, 27));
    EXPECT_EQ(pixelOf(form1->img_start, 64, 26), bitmapColour("start.bmp"));
}

class BadBitmapTest : public WindowTest {
protected:
    void SetUp() override {
        createOnSetUp = false;
        WindowTest::SetUp();
    }
    std::string failingPath() {
        try {
            createWindows();
        } catch (const AssetError& error) {
            return error.path();
        }
        return {};
    }
};

TEST_F(BadBitmapTest, MissingBitmapIsNamed) {
    std::filesystem::remove(dir.file("bmp/giveup_cancel.bmp"));
    EXPECT_EQ(failingPath(), dir.file("bmp/giveup_cancel.bmp"));
}

TEST_F(BadBitmapTest, FileThatIsNoBitmapIsNamed) {
    dir.write("bmp/r_button.bmp", "not a bitmap at all");
    EXPECT_EQ(failingPath(), dir.file("bmp/r_button.bmp"));
}
