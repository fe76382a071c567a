// What the main window asks of its child windows and of the saved records.
#include "app/main.h"

#include "app/Unit2.h"
#include "checklist/checklist.h"
#include "records/Unit3.h"

void TForm1::ShowMessageWindow(int number) {
    if (messageWindow_)
        messageWindow_->ShowMessageWindow(number);
}

void TForm1::openResultsWindow() {
    if (resultsWindow_)
        resultsWindow_->open();
}

// Acts on the sentence on show; with none on show (test study before a give-up, a running test)
// there is nothing to mark.
void TForm1::AddToChecklist() {
    if (state_.step == content::checklistStep || Lbl_eibun->isHidden())
        return;
    const auto outcome = checklist::add(state_.sentence.checklist, state_.sentence.currentId());
    if (outcome == checklist::AddOutcome::Full) {
        ShowMessageWindow(5);
        return;
    }
    if (!SaveState())
        return;
    ShowMessageWindow(outcome == checklist::AddOutcome::AlreadyListed ? 2 : 1);
}

void TForm1::RemoveFromChecklist() {
    if (Lbl_eibun->isHidden())
        return;
    const int id = state_.sentence.currentId();
    if (id == 0)
        return;
    const bool removed = checklist::remove(state_.sentence.checklist, id);
    // A review pairs the stored answers with the order the test was taken in, in whatever mode
    // the learner is meanwhile: while it lasts the order stays.
    if (state_.reviewActive == 0)
        BuildSentenceOrder();
    if (state_.mode != session::ResultsMode)
        redrawCurrentView();
    if (!SaveState())
        return;
    ShowMessageWindow(removed ? 4 : 3);
}
