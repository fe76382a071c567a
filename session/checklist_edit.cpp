#include "session/checklist_edit.h"

#include "content/content_store.h"
#include "session/checklist.h"
#include "session/test_run.h"

namespace session {

bool sentenceOnShow(const SessionState& s) {
    switch (s.mode == SessionMode::Results ? s.previousMode : s.mode) {
    case SessionMode::Study:
        return true;
    case SessionMode::TestStudy:
        return s.answerRevealed;
    case SessionMode::Test:
        return testState(s) == TestState::Review;
    case SessionMode::Results:
        break;
    }
    return false;
}

ChecklistEdit addToChecklist(SessionState& s) {
    ChecklistEdit edit;
    if (s.step == content::checklistStep || !sentenceOnShow(s))
        return edit;
    edit.acts = true;
    switch (checklist::add(s.sentence.checklist, s.sentence.currentId())) {
    case checklist::AddOutcome::Full:
        edit.message = MessageId::ChecklistFull;
        break;
    case checklist::AddOutcome::AlreadyListed:
        edit.save = true;
        edit.message = MessageId::AlreadyListed;
        break;
    case checklist::AddOutcome::Added:
        edit.save = true;
        edit.message = MessageId::ChecklistSaved;
        break;
    }
    return edit;
}

ChecklistEdit removeFromChecklist(SessionState& s) {
    ChecklistEdit edit;
    const int id = s.sentence.currentId();
    if (!sentenceOnShow(s) || id == 0)
        return edit;
    edit.acts = true;
    const bool removed = checklist::remove(s.sentence.checklist, id);
    // A review pairs the stored answers with the order the test was taken in, in whatever mode
    // the learner is meanwhile: while it lasts the order stays.
    edit.rebuildOrder = !s.reviewActive;
    edit.redraw = s.mode != SessionMode::Results;
    edit.save = true;
    edit.message = removed ? MessageId::RemovedFromChecklist : MessageId::NotListed;
    return edit;
}

} // namespace session
