#include "records/Unit4.h"

#include "app/main.h"

TForm4::TForm4(TForm1& main)
    : QWidget(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint), main_(main) {
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral(" ◆ Setting"));
    setFixedSize(397, 463);
}
