#pragma once
#include "app/controls.h"
#include "records/results_view.h"

#include <QWidget>

#include <array>
#include <functional>

class TForm1;

// A grid of fixed cells that draws nothing itself: every cell is painted by drawCell, on a white
// ground with 1-pixel grid lines after each column and row, and no scroll bars.
class OwnerDrawnGrid : public QWidget {
    Q_OBJECT
public:
    OwnerDrawnGrid(QWidget* parent, int firstColumnWidth, int columnWidth, int rowHeight);

    QString cell(int column, int row) const { return cells_[column][row]; }
    void setCell(int column, int row, const QString& text);
    int columnWidth(int column) const { return column == 0 ? firstColumnWidth_ : columnWidth_; }
    int rowHeight() const { return rowHeight_; }
    QRect cellRect(int column, int row) const;

    std::function<void(int column, int row, QRect rect)> drawCell;
    QPainter* canvas() const { return painter_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::array<std::array<QString, records::gridRows>, records::gridColumns> cells_;
    int firstColumnWidth_;
    int columnWidth_;
    int rowHeight_;
    QPainter* painter_ = nullptr;
};

// The results window: the stored test scores and dates of one step, with each chapter's average.
class TForm3 : public QWidget {
    Q_OBJECT
public:
    explicit TForm3(TForm1& main);

    // Opens on step 1 in the scores view, whatever was shown last.
    void open();
    void SpeedButton1Click(int step); // the five step buttons
    void SpeedButton6Click();         // scores <-> dates
    void SpeedButton7Click();         // EXIT
    void StringGrid1DrawCell(int column, int row, QRect rect);

    std::array<FlatButton*, 7> buttons() const;
    FlatButton* SpeedButton1;
    FlatButton* SpeedButton2;
    FlatButton* SpeedButton3;
    FlatButton* SpeedButton4;
    FlatButton* SpeedButton5;
    FlatButton* SpeedButton6;
    FlatButton* SpeedButton7;
    OwnerDrawnGrid* StringGrid1;

protected:
    void closeEvent(QCloseEvent* event) override; // FormCloseQuery
    void showEvent(QShowEvent* event) override;

private:
    void showStep(int step, records::ResultsView view);
    void writeHeadings(int step);
    void fillView(records::ResultsView view);

    TForm1& main_;
};
