// What the main window draws of typed answers: the answer line, the overlay above it and the mark of
// a stored answer.
#include "app/main.h"

#include "app/answer_marks.h"
#include "app/main_layout.h"
#include "session/navigation.h"

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

void TForm1::showOverlay(session::Overlay overlay) {
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

void TForm1::Edit1KeyPress() { trainer_.enter(answerLineText()); }

std::string TForm1::answerLineText() const { return Edit1->text().toStdString(); }

void TForm1::showAnswerLine() {
    Edit1->move(app::inputLeft(Edit1->width()), app::inputTop(Edit1->height()));
    Edit1->show();
}

// A hidden answer line must not keep the keys: they would edit it out of sight.
void TForm1::hideAnswerLine() {
    Edit1->hide();
    setFocus();
}

void TForm1::focusAnswerLine() { Edit1->setFocus(); }

void TForm1::setAnswerLine(const std::string& cp932) { Edit1->setText(app::fromCp932(cp932)); }

void TForm1::appendFullStop() { Edit1->setText(Edit1->text() + QLatin1Char('.')); }

void TForm1::markFirstDeparture(const std::string& sentence) {
    const app::MarkedText departure = app::firstDepartureMark(Edit1->text(), sentence);
    Edit1->setMarks(departure.marks, departure.description);
}

// Judges the stored answer of the slot, whatever the input line shows by now; its differences are
// marked on the answer and on the sentence above it.
void TForm1::showAnswerMark() {
    const int slot = state().sentence.currentSlot;
    const bool right = session::answerIsRight(state().sentence, slot, content());
    Lbl_seikai->setCaption(right ? QStringLiteral("○正解  ") : QStringLiteral("×不正解  "));
    Lbl_seikai->setGeometry(0, markTop, 800, markHeight);
    Lbl_seikai->show();
    const std::string answer = session::answerAt(state().sentence, slot);
    const app::ReviewMarks marks = app::reviewMarks(
        answer, content().lookup(content::ContentKind::English, state().sentence.currentId()));
    // A line the learner has edited since shows another text than the one judged.
    if (Edit1->text() == app::fromCp932(answer))
        Edit1->setMarks(marks.answer.marks, marks.answer.description);
    Lbl_eibun->setMarks(marks.sentence.marks, marks.sentence.description);
}

void TForm1::hideAnswerMark() { Lbl_seikai->hide(); }
