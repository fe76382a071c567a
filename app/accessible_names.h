#pragma once

class TForm1;
class QWidget;

namespace app {

// Names every picture button, tab, selector and window, so that a screen reader (and automation
// through the accessibility tree) can tell them apart: the pictures alone say nothing to either.
void nameMainWindowControls(TForm1& form);
void nameChildWindows(QWidget* messageWindow, QWidget* resultsWindow, QWidget* settingsWindow,
                      QWidget* splash);

// Lets the accessibility tree present picture buttons as push buttons that can be pressed.
void installPictureButtonAccessibility();

} // namespace app
