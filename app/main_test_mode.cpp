// Typed answers on the main window: the test-study check and the test with its review.
#include "app/main.h"

#include "app/Unit2.h"
#include "app/answer_marks.h"
#include "session/answer_check.h"
#include "session/answer_fold.h"
#include "session/navigation.h"
#include "session/test_run.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr int overlayTop = 150;
constexpr int markTop = 260;
constexpr int markHeight = 30;

struct OverlayText {
    session::Overlay overlay;
    const char16_t* text;
    int pixels;
};
constexpr OverlayText overlayTexts[] = {
    {session::Overlay::WaitingForStart, u"STARTボタンを押すとテストを開始します。", 16},
    {session::Overlay::TestUnderWay, u"・・・　テスト中　・・・", 16},
    {session::Overlay::VeryGood, u"Very Good !", 19},
};

} // namespace

void TForm1::ShowOverlay(session::Overlay overlay) {
    const auto* shown = std::find_if(std::begin(overlayTexts), std::end(overlayTexts),
                                     [overlay](const OverlayText& o) { return o.overlay == overlay; });
    if (shown == std::end(overlayTexts)) {
        Lbl_msg->hide();
        return;
    }
    Lbl_msg->setFontPixels(shown->pixels);
    Lbl_msg->setCaption(QString::fromUtf16(shown->text));
    Lbl_msg->setGeometry(0, overlayTop, 800, Lbl_msg->height());
    Lbl_msg->show();
}

// Full-width letters, digits and marks that an input method still sends are folded first, so the
// check judges the keys typed rather than the input method's state.
std::string TForm1::typedAnswer() const {
    return session::typedAnswerBytes(Edit1->text().toStdString());
}

void TForm1::Edit1KeyPress() {
    switch (session::enterMeaning(state_)) {
    case session::EnterMeaning::CheckTestStudy:
        CheckTestStudyAnswer();
        break;
    case session::EnterMeaning::RecordAnswer:
        RecordAnswer();
        break;
    case session::EnterMeaning::ReplayVoice:
        PlaySentenceVoice();
        break;
    case session::EnterMeaning::Nothing:
        break;
    }
}

void TForm1::CheckTestStudyAnswer() {
    const std::string sentence =
        content_.lookup(content::ContentKind::English, state_.sentence.currentId());
    if (session::judgeAnswer(typedAnswer(), sentence) != session::Verdict::Right) {
        // Where the answer first departs, never what the sentence says there.
        const app::MarkedText departure = app::firstDepartureMark(Edit1->text(), sentence);
        Edit1->setMarks(departure.marks, departure.description);
        PlaySentenceVoice();
        return;
    }
    HideSentence();
    Lbl_msg->hide();
    Lbl_seikai->hide();
    state_.answerRevealed = false;
    ShowOverlay(session::Overlay::VeryGood);
    PlayChime();
    app::switchOn(Timer1);
}

void TForm1::GiveUp() {
    if (state_.mode == session::SessionMode::TestStudy) {
        state_.answerRevealed = true;
        showSentence();
    } else if (state_.mode == session::SessionMode::Test &&
               session::testState(state_) == session::TestState::Running) {
        Edit1->setText(Edit1->text() + QLatin1Char('.'));
        RecordAnswer();
    }
}

void TForm1::StartTest() {
    if (!session::startTest(state_, clock_.utcMillisecondsOfDay())) {
        ShowMessageWindow(session::MessageId::NoTestOnChecklist);
        return;
    }
    // A test-study advance still pending must not move the test's slot.
    Timer1.stop();
    ShowTestView();
    ShowCounter();
    Edit1->setFocus();
}

void TForm1::ShowTestView() {
    const session::TestView view = session::testView(state_);
    placeEdit1();
    Edit1->show();
    if (view.clearAnswerLine)
        Edit1->clear();
    if (view.sentenceShown) {
        showSentence();
        ShowAnswerMark();
    } else {
        HideSentence();
        Lbl_seikai->hide();
    }
    SetNavigationButtons(view.buttons);
    ShowOverlay(view.overlay);
    ShowReplayIndicators(view.replaysUsed);
}

void TForm1::RecordAnswer() {
    switch (session::recordAnswer(state_, typedAnswer())) {
    case session::AnswerOutcome::Ignored:
        break;
    case session::AnswerOutcome::Replay:
        PlaySentenceVoice();
        ShowReplayIndicators(state_.replayCount);
        break;
    case session::AnswerOutcome::Taken:
        Edit1->clear();
        ShowCounter();
        ShowReplayIndicators(0);
        break;
    case session::AnswerOutcome::Finished:
        state_.correctCount = session::countCorrect(state_.sentence, content_);
        ShowMessageWindow(session::MessageId::SaveQuestion);
        break;
    }
}

bool TForm1::RecordTestResult() {
    if (!state_.resultFiled) {
        const int courseChapter = content::courseChapter(state_.step, state_.chapter);
        session::fileTestResult(state_.results, courseChapter, state_.correctCount,
                                clock_.localDate());
        state_.resultFiled = true;
    }
    return SaveState();
}

void TForm1::StartReview() {
    session::startReview(state_);
    ShowCounter();
    Edit1->setText(app::fromCp932(session::answerAt(state_.sentence, 1)));
    ShowTestView();
}

// Judges the stored answer of the slot, whatever the input line shows by now; its differences are
// marked on the answer and on the sentence above it.
void TForm1::ShowAnswerMark() {
    const int slot = state_.sentence.currentSlot;
    const bool right = session::answerIsRight(state_.sentence, slot, content_);
    Lbl_seikai->setCaption(right ? QStringLiteral("○正解  ") : QStringLiteral("×不正解  "));
    Lbl_seikai->setGeometry(0, markTop, 800, markHeight);
    Lbl_seikai->show();
    const std::string answer = session::answerAt(state_.sentence, slot);
    const app::ReviewMarks marks = app::reviewMarks(
        answer, content_.lookup(content::ContentKind::English, state_.sentence.currentId()));
    // A line the learner has edited since shows another text than the one judged.
    if (Edit1->text() == app::fromCp932(answer))
        Edit1->setMarks(marks.answer.marks, marks.answer.description);
    Lbl_eibun->setMarks(marks.sentence.marks, marks.sentence.description);
}
