#include "records/results_view.h"

#include <cmath>

namespace records {

std::string averageText(const ResultTable& table, int courseChapter) {
    int sum = 0;
    int count = 0;
    for (int slot = 1; slot <= resultSlots; ++slot) {
        const int score = table.score(slot, courseChapter);
        if (score != -1) {
            sum += score;
            ++count;
        }
    }
    if (count == 0)
        return {};
    const float average = static_cast<float>(sum) / static_cast<float>(count);
    const auto tenths = static_cast<long>(std::floor(static_cast<double>(average) * 10.0 + 0.5));
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string cellText(const ResultTable& table, int step, ResultsView view, int column, int row) {
    if (row == 0) {
        if (column == 0)
            return "Step" + std::to_string(step);
        return column == gridColumns - 1 ? "Ave." : "Try" + std::to_string(column);
    }
    if (column == 0)
        return "Chapter" + std::to_string(row);
    const int courseChapter = (step - 1) * 10 + row;
    if (column == gridColumns - 1)
        return averageText(table, courseChapter);
    if (view == ResultsView::Dates)
        return table.date(column, courseChapter).str();
    const int score = table.score(column, courseChapter);
    return score == -1 ? std::string() : std::to_string(score);
}

} // namespace records
