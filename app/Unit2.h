#pragma once
#include <QWidget>

class TForm1;

// The message window: a small borderless window for notices and yes/no questions.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(TForm1& main);
    void ShowMessageWindow(int number);

private:
    TForm1& main_;
};
