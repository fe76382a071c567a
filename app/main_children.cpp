// What the main window asks of its child windows and of the saved records.
#include "app/main.h"

#include "app/Unit2.h"
#include "app/Unit3.h"

void TForm1::ShowMessageWindow(session::MessageId id) {
    if (messageWindow_)
        messageWindow_->ShowMessageWindow(id);
}

void TForm1::openResultsWindow() {
    if (resultsWindow_)
        resultsWindow_->open();
}

void TForm1::AddToChecklist() { applyChecklistEdit(session::addToChecklist(state_)); }

void TForm1::RemoveFromChecklist() { applyChecklistEdit(session::removeFromChecklist(state_)); }

void TForm1::applyChecklistEdit(const session::ChecklistEdit& edit) {
    if (!edit.acts)
        return;
    if (edit.rebuildOrder)
        BuildSentenceOrder();
    if (edit.redraw)
        redrawCurrentView();
    if (edit.save && !SaveState())
        return;
    ShowMessageWindow(edit.message);
}
