#include "app/Unit2.h"

#include "app/main.h"

TForm2::TForm2(TForm1& main)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      main_(main) {
    setFixedSize(330, 110);
}

void TForm2::ShowMessageWindow(int) {}
