// What the main window asks of its child windows.
#include "app/main.h"

#include "app/Unit2.h"
#include "app/Unit3.h"
#include "app/Unit4.h"

void TForm1::showMessage(session::MessageId id) {
    if (messageWindow_)
        messageWindow_->ShowMessageWindow(id);
}

void TForm1::bringMessageForward() {
    if (messageWindow_) {
        messageWindow_->raise();
        messageWindow_->activateWindow();
    }
}

void TForm1::openResults() {
    if (resultsWindow_)
        resultsWindow_->open();
}

void TForm1::openSettings() {
    if (settingsWindow_)
        app::bringToFront(*settingsWindow_);
}
