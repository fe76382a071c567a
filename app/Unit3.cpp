#include "app/Unit3.h"

#include "app/main.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace {

constexpr int resultsClientWidth = 690;
constexpr int resultsClientHeight = 348;
constexpr int buttonPixels = 12;
const QColor silver(192, 192, 192);
const QColor cornerBlue(0, 0, 200);
const QColor headingGreen(0, 150, 0);
const QColor valueRed(200, 0, 0);


} // namespace

OwnerDrawnGrid::OwnerDrawnGrid(QWidget* parent, int firstColumnWidth, int columnWidth,
                               int rowHeight)
    : QWidget(parent), firstColumnWidth_(firstColumnWidth), columnWidth_(columnWidth),
      rowHeight_(rowHeight) {
    setFocusPolicy(Qt::NoFocus);
}

void OwnerDrawnGrid::setCell(int column, int row, const QString& text) {
    cells_[column][row] = text;
    update(cellRect(column, row));
}

QRect OwnerDrawnGrid::cellRect(int column, int row) const {
    int left = 0;
    for (int c = 0; c < column; ++c)
        left += columnWidth(c) + 1;
    return {left, row * (rowHeight_ + 1), columnWidth(column), rowHeight_};
}

void OwnerDrawnGrid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), silver); // what shows between the cells are the grid lines
    painter_ = &painter;
    for (int column = 0; column < records::gridColumns; ++column)
        for (int row = 0; row < records::gridRows; ++row)
            if (drawCell)
                drawCell(column, row, cellRect(column, row));
    painter_ = nullptr;
}

TForm3::TForm3(TForm1& main)
    // Owned by the main window, which window managers then keep it in front of.
    : QWidget(&main, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint),
      main_(main) {
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral(" ◆ 成績"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, app::toQColor(records::systemColor(15)));
    setPalette(pal);
    setAutoFillBackground(true);
    // FormCreate: the same pixels at any screen resolution.
    setFixedSize(resultsClientWidth, resultsClientHeight);
    const QString captions[] = {QStringLiteral("STEP1"), QStringLiteral("STEP2"),
                                QStringLiteral("STEP3"), QStringLiteral("STEP4"),
                                QStringLiteral("STEP5"), QStringLiteral("DAY"),
                                QStringLiteral("EXIT")};
    const int lefts[] = {24, 99, 174, 249, 324, 523, 598};
    std::array<FlatButton*, 7> made{};
    for (int i = 0; i < 7; ++i) {
        made[i] = new FlatButton(captions[i], this, true);
        made[i]->setGeometry(lefts[i], 16, 65, 20);
        made[i]->setFontSpec(app::gothicFont(buttonPixels));
    }
    SpeedButton1 = made[0];
    SpeedButton2 = made[1];
    SpeedButton3 = made[2];
    SpeedButton4 = made[3];
    SpeedButton5 = made[4];
    SpeedButton6 = made[5];
    SpeedButton7 = made[6];
    for (int step = 1; step <= 5; ++step)
        connect(made[step - 1], &QToolButton::clicked, this, [this, step] { SpeedButton1Click(step); });
    connect(SpeedButton6, &QToolButton::clicked, this, &TForm3::SpeedButton6Click);
    connect(SpeedButton7, &QToolButton::clicked, this, &TForm3::SpeedButton7Click);

    StringGrid1 = new OwnerDrawnGrid(this, 80, 50, 24);
    StringGrid1->setGeometry(24, 49, 80 + 11 * 50 + 12, 11 * 24 + 12);
    StringGrid1->setFont(app::toQFont(app::gothicFont(buttonPixels)));
    StringGrid1->drawCell = [this](int column, int row, QRect rect) {
        StringGrid1DrawCell(column, row, rect);
    };
}

std::array<FlatButton*, 7> TForm3::buttons() const {
    return {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4,
            SpeedButton5, SpeedButton6, SpeedButton7};
}

void TForm3::writeHeadings(int step) {
    for (int column = 0; column < records::gridColumns; ++column)
        StringGrid1->setCell(column, 0, QString::fromStdString(records::cellText(
                                            main_.state().results, step,
                                            records::ResultsView::Scores, column, 0)));
    for (int row = 1; row < records::gridRows; ++row)
        StringGrid1->setCell(0, row, QString::fromStdString(records::cellText(
                                         main_.state().results, step,
                                         records::ResultsView::Scores, 0, row)));
}

void TForm3::fillView(records::ResultsView view) {
    const session::SessionState& s = main_.state();
    SpeedButton6->setText(view == records::ResultsView::Scores ? QStringLiteral("DAY")
                                                                : QStringLiteral("POINT"));
    for (int column = 1; column < records::gridColumns; ++column)
        for (int row = 1; row < records::gridRows; ++row)
            StringGrid1->setCell(column, row, app::fromCp932(records::cellText(
                                                  s.results, s.resultsStep, view, column, row)));
}

void TForm3::showStep(int step, records::ResultsView view) {
    main_.trainer().showResults(step, view);
    writeHeadings(step);
    fillView(view);
}

void TForm3::open() {
    showStep(1, records::ResultsView::Scores);
    main_.trainer().resultsOpened();
    show();
    raise();
    activateWindow();
}

void TForm3::SpeedButton1Click(int step) { showStep(step, main_.state().resultsView); }

void TForm3::SpeedButton6Click() {
    const session::SessionState& s = main_.state();
    showStep(s.resultsStep, s.resultsView == records::ResultsView::Scores
                                ? records::ResultsView::Dates
                                : records::ResultsView::Scores);
}

void TForm3::SpeedButton7Click() { close(); }

void TForm3::StringGrid1DrawCell(int column, int row, QRect rect) {
    QPainter& painter = *StringGrid1->canvas();
    painter.fillRect(rect, Qt::white);
    QFont bold = StringGrid1->font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(column == 0 && row == 0         ? cornerBlue
                   : column == 0 || row == 0       ? headingGreen
                                                   : valueRed);
    const QString text = StringGrid1->cell(column, row);
    const QFontMetrics metrics(bold);
    const int x = rect.left() + (StringGrid1->columnWidth(column) - metrics.horizontalAdvance(text)) / 2;
    const int y = rect.top() + (StringGrid1->rowHeight() - metrics.height()) / 2 + 1;
    painter.drawText(x, y + metrics.ascent(), text);
}

void TForm3::showEvent(QShowEvent* event) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() -
             QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    QWidget::showEvent(event);
}

// FormCloseQuery: the trainer goes back to the mode the results tab was chosen from.
void TForm3::closeEvent(QCloseEvent* event) {
    main_.trainer().resultsClosed();
    event->accept();
}
