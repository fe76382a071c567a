#pragma once
#include "app/controls.h"

#include <QTimer>
#include <QWidget>

// The splash picture, shown once over the main window after start.
class TForm6 : public QWidget {
    Q_OBJECT
public:
    explicit TForm6(QWidget* owner);
    void Timer1Timer();
    // The window that gets the focus back when the splash closes.
    void returnFocusTo(QWidget* window) { returnFocusTo_ = window; }

    PictureBox* Image1;
    QTimer Timer1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* returnFocusTo_ = nullptr;
};
