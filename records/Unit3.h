#pragma once
#include <QWidget>

class TForm1;

// The results window: the stored test scores and dates, step by step.
class TForm3 : public QWidget {
    Q_OBJECT
public:
    explicit TForm3(TForm1& main);
    void open();

private:
    TForm1& main_;
};
