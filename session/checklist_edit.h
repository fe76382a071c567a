#pragma once
#include "session/message_id.h"
#include "session/session_state.h"

namespace session {

// Whether the main window shows a sentence: study always, test study once the learner gave up,
// a test in its review. The results window keeps the view it was opened from under it.
bool sentenceOnShow(const SessionState& s);

// What an add to or a removal from the checklist asks of the main window, in this order: a new
// order of the chapter, the view drawn again, a save (a failed one ends it there), the message.
struct ChecklistEdit {
    bool acts = false; // false: no sentence on show, nothing happens
    bool rebuildOrder = false;
    bool redraw = false;
    bool save = false;
    MessageId message = MessageId::None;
};

// Lists the sentence on show; the checklist pages themselves cannot be listed again.
ChecklistEdit addToChecklist(SessionState& s);
// Takes the sentence on show off the list.
ChecklistEdit removeFromChecklist(SessionState& s);

} // namespace session
