// What the main window asks of its child windows and of the saved records.
#include "app/main.h"

#include "app/Unit2.h"
#include "records/Unit3.h"

void TForm1::ShowMessageWindow(int number) {
    if (messageWindow_)
        messageWindow_->ShowMessageWindow(number);
}

void TForm1::openResultsWindow() {
    if (resultsWindow_)
        resultsWindow_->open();
}

void TForm1::AddToChecklist() {}

void TForm1::RemoveFromChecklist() {}
