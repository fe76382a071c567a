#include "records/Unit3.h"

#include "app/main.h"

TForm3::TForm3(TForm1& main)
    : QWidget(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint), main_(main) {
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral(" ◆ 成績"));
    setFixedSize(690, 348);
}

void TForm3::open() {}
