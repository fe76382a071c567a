#pragma once
#include <QWidget>

class TForm1;

// The settings window: resets, display options and the English sentence's font.
class TForm4 : public QWidget {
    Q_OBJECT
public:
    explicit TForm4(TForm1& main);

private:
    TForm1& main_;
};
