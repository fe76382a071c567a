#pragma once
#include "app/controls.h"
#include "session/message_id.h"

#include <QTimer>
#include <QWidget>

class TForm1;

// The message window: a small borderless window for notices, which close by themselves, and the
// two yes/no questions, which stay until they are answered.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(TForm1& main);

    // Shows the message at once, replacing whatever was on show; returns at once. The trainer
    // decides whether it may.
    void ShowMessageWindow(session::MessageId id);
    void Timer1Timer();
    void SpeedButton1Click(); // YES
    void SpeedButton2Click(); // NO

    bool questionOnShow() const;

    PictureBox* Image1;
    FlatButton* SpeedButton1;
    FlatButton* SpeedButton2;
    AutoLabel* Label1;
    QTimer Timer1;

protected:
    void showEvent(QShowEvent* event) override;
    // A question is answered with YES or NO only; a notice may be closed early.
    void closeEvent(QCloseEvent* event) override;

private:
    void answer(bool yes);

    TForm1& main_;
};
