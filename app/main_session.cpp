// What the main window draws of the session: the bar, the sentence with its translation and points,
// the counter and the replay indicators.
#include "app/main.h"

#include "app/main_layout.h"
#include "session/navigation.h"

using session::SessionMode;

namespace {

constexpr int fullWidth = 800;
constexpr int lineHeight = 30;

} // namespace

void TForm1::showStepAndChapter() {
    lbl_step->setCaption(state().step == content::checklistStep ? QStringLiteral("C")
                                                                : QString::number(state().step));
    lbl_chapter->setCaption(QString::number(state().chapter));
}

void TForm1::showChapterTitle() {
    lbl_title->setCaption(app::fromCp932(content().chapterTitle(state().step, state().chapter)));
}

void TForm1::showCounter() {
    Lbl_counter->setCaption(QString::number(state().sentence.currentSlot));
    Lbl_counter->setWidth(app::counterWidth);
    // Placed by the font's pixel height, not by the face's line height.
    Lbl_counter->move(app::counterLeft(), app::counterTop(Lbl_counter->fontSpec().pixels()));
}

// A font set again would only measure the label again; a caption set again drops its marks.
void TForm1::showSentenceLabel(const records::StoredLabel& label) {
    if (!(Lbl_eibun->fontSpec() == label.font))
        Lbl_eibun->setFontSpec(label.font);
    Lbl_eibun->setCaption(app::fromCp932(label.caption));
    Lbl_eibun->setGeometry(label.left, label.top, label.width, label.height);
    Lbl_eibun->setVisible(label.visible);
}

// Measured as the label measures itself when it is given a font.
int TForm1::sentenceLineHeight(const records::FontSpec& font) {
    Lbl_eibun->setFontSpec(font);
    return Lbl_eibun->height();
}

void TForm1::showTranslation(int id) {
    if (session::translationSuppressed(state())) {
        Lbl_wabun->setCaption({});
        Lbl_wabun->hide();
        return;
    }
    const int top = app::japaneseTop(state().mode);
    if (top < 0)
        return;
    Lbl_wabun->setCaption(app::fromCp932(content().lookup(content::ContentKind::Japanese, id)));
    Lbl_wabun->setGeometry(0, top, fullWidth, lineHeight);
    Lbl_wabun->show();
}

void TForm1::showPoints(int id) {
    if (session::pointsSuppressed(state())) {
        Lbl_point->hide();
        lbl_point2->hide();
        return;
    }
    Img_point->show();
    Lbl_point->setCaption(app::fromCp932(content().lookup(content::ContentKind::FirstPoint, id)));
    Lbl_point->show();
    lbl_point2->setCaption(app::fromCp932(content().lookup(content::ContentKind::SecondPoint, id)));
    lbl_point2->show();
}

void TForm1::hideNotes() {
    Lbl_wabun->hide();
    Img_point->hide();
    Lbl_point->hide();
    lbl_point2->hide();
}

void TForm1::showStudyLines() {
    Lbl_wabun->show();
    Lbl_msg->hide();
    Lbl_seikai->hide();
}

void TForm1::showReplayIndicators(int used) {
    if (used < 0 || used > 3)
        return;
    img_n1->setVisible(used < 1);
    img_n2->setVisible(used < 2);
    img_n3->setVisible(used < 3);
}

void TForm1::Timer1Timer() { trainer_.advance(); }

void TForm1::startAdvance() { app::switchOn(Timer1); }

void TForm1::stopAdvance() { Timer1.stop(); }

void TForm1::Lbl_gakusyuuClick(AutoLabel* sender) {
    trainer_.chooseTab(sender == Lbl_gakusyuu       ? SessionMode::Study
                       : sender == Lbl_testgakusyuu ? SessionMode::TestStudy
                       : sender == Lbl_test         ? SessionMode::Test
                                                    : SessionMode::Results);
}
