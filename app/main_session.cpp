// The session on the main window: its start, the views of study and test study, the display of
// a sentence and moving through the chapter.
#include "app/main.h"

#include "app/main_layout.h"
#include "content/voice_files.h"
#include "platform/app_dir.h"
#include "session/choices.h"
#include "session/navigation.h"
#include "session/sentence_order.h"
#include "session/session_start.h"

using session::SessionMode;

namespace {

constexpr int fullWidth = 800;
constexpr int lineHeight = 30;

} // namespace

void TForm1::InitSession() {
    Timer1.stop();
    session::resetSession(state_);
    // No save file, or one that cannot be read, leaves the defaults: the learner still gets a session.
    try {
        LoadState();
    } catch (...) {
    }
    session::beginSession(state_, clock_.utcMillisecondsOfDay());
    HighlightModeTab(state_.mode);
    ShowFunctionKeyCaptions(state_.showShortcuts);
    ShowStepAndChapter();
    ShowCounter();
    ShowStudyView();
}

void TForm1::ReadCourse() { content_.loadCourseText(platform::appDir()); }

void TForm1::BuildSentenceOrder() {
    // A review pairs the stored answers with the order the test was taken in: a new order ends it.
    state_.reviewActive = 0;
    session::buildSentenceOrder(state_.sentence, state_.step, state_.chapter,
                                clock_.utcMillisecondsOfDay());
}

void TForm1::ShowStepAndChapter() {
    lbl_step->setCaption(state_.step == content::checklistStep ? QStringLiteral("C")
                                                               : QString::number(state_.step));
    lbl_chapter->setCaption(QString::number(state_.chapter));
}

void TForm1::ShowChapterTitle() {
    lbl_title->setCaption(app::fromCp932(content_.chapterTitle(state_.step, state_.chapter)));
}

void TForm1::PlaySentenceVoice() {
    sound_.playWave(content::voicePath(platform::appDir(), state_.sentence.currentId()));
}

void TForm1::PlayChime() { sound_.playWave(content::chimePath(platform::appDir())); }

void TForm1::ShowCounter() {
    Lbl_counter->setCaption(QString::number(state_.sentence.currentSlot));
    Lbl_counter->setWidth(app::counterWidth);
    // Placed by the font's pixel height, not by the face's line height.
    Lbl_counter->move(app::counterLeft(), app::counterTop(Lbl_counter->fontSpec().pixels()));
    // The slot on show is what a press of repeat plays: its voice is made ready before it is asked for.
    sound_.prepare(content::voicePath(platform::appDir(), state_.sentence.currentId()));
}

void TForm1::placeEdit1() {
    Edit1->move(app::inputLeft(Edit1->width()), app::inputTop(Edit1->height()));
}

// A hidden answer line must not keep the keys: they would edit it out of sight.
void TForm1::hideEdit1() {
    Edit1->hide();
    setFocus();
}

void TForm1::showSentence() {
    const int id = state_.sentence.currentId();
    DisplayEnglish(id);
    DisplayJapanese(id);
    DisplayPoints(id);
}

void TForm1::ShowStudyView() {
    hideEdit1();
    ShowChapterTitle();
    showSentence();
    Lbl_eibun->show();
    Lbl_wabun->show();
    Lbl_msg->hide();
    Lbl_seikai->hide();
    SetNavigationButtons({.left = true, .right = true, .start = true, .repeat = true});
    ShowReplayIndicators(3);
}

void TForm1::ShowTestStudyView() {
    state_.answerRevealed = false;
    Edit1->clear();
    placeEdit1();
    Edit1->show();
    Edit1->setFocus();
    HideSentence();
    Lbl_msg->hide();
    Lbl_seikai->hide();
    SetNavigationButtons({.left = true, .right = true, .start = true, .giveUp = true, .repeat = true});
    ShowReplayIndicators(3);
}

void TForm1::DisplayEnglish(int id) {
    const int top = app::englishTop(state_.mode);
    if (top < 0)
        return;
    if (state_.mode != SessionMode::Study)
        HideSentence();
    Lbl_eibun->setCaption(app::fromCp932(content_.lookup(content::ContentKind::English, id)));
    Lbl_eibun->setGeometry(0, top, fullWidth, lineHeight);
    Lbl_eibun->show();
}

void TForm1::DisplayJapanese(int id) {
    if (session::translationSuppressed(state_)) {
        Lbl_wabun->setCaption({});
        Lbl_wabun->hide();
        return;
    }
    const int top = app::japaneseTop(state_.mode);
    if (top < 0)
        return;
    Lbl_wabun->setCaption(app::fromCp932(content_.lookup(content::ContentKind::Japanese, id)));
    Lbl_wabun->setGeometry(0, top, fullWidth, lineHeight);
    Lbl_wabun->show();
}

void TForm1::DisplayPoints(int id) {
    if (session::pointsSuppressed(state_)) {
        Lbl_point->hide();
        lbl_point2->hide();
        return;
    }
    Img_point->show();
    Lbl_point->setCaption(app::fromCp932(content_.lookup(content::ContentKind::FirstPoint, id)));
    Lbl_point->show();
    lbl_point2->setCaption(app::fromCp932(content_.lookup(content::ContentKind::SecondPoint, id)));
    lbl_point2->show();
}

void TForm1::HideSentence() {
    Lbl_eibun->hide();
    Lbl_wabun->hide();
    Img_point->hide();
    Lbl_point->hide();
    lbl_point2->hide();
}

void TForm1::NextSentence() { moveToSlot(session::nextSlot(state_.sentence.currentSlot)); }

void TForm1::PreviousSentence() { moveToSlot(session::previousSlot(state_.sentence.currentSlot)); }

// What a move to another slot shows in each mode; the new sentence is always heard.
void TForm1::moveToSlot(int slot) {
    if (!session::navigates(state_.mode))
        return;
    state_.sentence.currentSlot = slot;
    switch (state_.mode) {
    case SessionMode::Study:
        showSentence();
        ShowCounter();
        break;
    case SessionMode::TestStudy:
        state_.answerRevealed = false;
        ShowCounter();
        HideSentence();
        Edit1->clear();
        break;
    case SessionMode::Test:
        showSentence();
        ShowCounter();
        Edit1->setText(app::fromCp932(session::answerAt(state_.sentence, state_.sentence.currentSlot)));
        ShowTestView();
        break;
    case SessionMode::Results:
        return;
    }
    PlaySentenceVoice();
}

void TForm1::StartStudy() {
    BuildSentenceOrder();
    state_.sentence.currentSlot = 1;
    showSentence();
    ShowCounter();
    PlaySentenceVoice();
}

void TForm1::StartTestStudy() {
    state_.sentence.currentSlot = 1;
    ShowCounter();
    PlaySentenceVoice();
}

void TForm1::Timer1Timer() {
    Lbl_msg->hide();
    NextSentence();
    Timer1.stop();
    Edit1->clear();
}

void TForm1::Lbl_gakusyuuClick(AutoLabel* sender) {
    const SessionMode chosen = sender == Lbl_gakusyuu       ? SessionMode::Study
                               : sender == Lbl_testgakusyuu ? SessionMode::TestStudy
                               : sender == Lbl_test         ? SessionMode::Test
                                                            : SessionMode::Results;
    switch (session::switchMode(state_, chosen)) {
    case session::ModeSwitch::Ignored:
        break;
    case session::ModeSwitch::OpenResults:
        openResultsWindow();
        break;
    case session::ModeSwitch::Redraw:
        redrawCurrentView();
        break;
    }
}

void TForm1::ShowReplayIndicators(int used) {
    if (used < 0 || used > 3)
        return;
    img_n1->setVisible(used < 1);
    img_n2->setVisible(used < 2);
    img_n3->setVisible(used < 3);
}

void TForm1::redrawCurrentView() {
    switch (state_.mode) {
    case SessionMode::Study:
        ShowStudyView();
        break;
    case SessionMode::TestStudy:
        ShowTestStudyView();
        break;
    case SessionMode::Test:
        ShowTestView();
        break;
    case SessionMode::Results:
        break;
    }
}
