#include "records/results_view.h"

#include <gtest/gtest.h>

#include <vector>

using namespace records;

namespace {

ResultTable withScores(int chapter, const std::vector<int>& scores) {
    ResultTable table;
    table.clear(0);
    for (size_t slot = 0; slot < scores.size(); ++slot)
        table.scores[slot][chapter - 1] = scores[slot];
    return table;
}

} // namespace

TEST(ResultsView, AveragesInSinglePrecisionHalvesUp) {
    struct Row {
        std::vector<int> scores;
        const char* average;
    };
    const Row rows[] = {
        {{7, -1, 8}, "7.5"},
        {{7, 7, 7, 8}, "7.3"},
        {{10, 10, 10, 10, 10, 10, 10, 10, 10, 10}, "10.0"},
        {{0}, "0.0"},
        {{0, 1, 1}, "0.7"},
        {{7, 7, 8}, "7.3"},
        {{6, 7}, "6.5"},
        {{7, 7, 7, 7, 7, 7, 7, 8}, "7.1"},
        {{}, ""},
        {{-1, -1}, ""},
    };
    for (const Row& row : rows) {
        const ResultTable table = withScores(12, row.scores);
        EXPECT_EQ(averageText(table, 12), row.average) << ::testing::PrintToString(row.scores);
    }
}

TEST(ResultsView, HeadingsScoresAndDatesOfAStep) {
    ResultTable table = withScores(23, {7, -1, 8});
    table.dates[0][22].assign("12/8");
    EXPECT_EQ(cellText(table, 3, ResultsView::Scores, 0, 0), "Step3");
    EXPECT_EQ(cellText(table, 3, ResultsView::Scores, 10, 0), "Try10");
    EXPECT_EQ(cellText(table, 3, ResultsView::Scores, 11, 0), "Ave.");
    EXPECT_EQ(cellText(table, 3, ResultsView::Scores, 0, 3), "Chapter3");
    EXPECT_EQ(cellText(table, 3, ResultsView::Scores, 1, 3), "7");
    EXPECT_EQ(cellText(table, 3, ResultsView::Scores, 2, 3), "");
    EXPECT_EQ(cellText(table, 3, ResultsView::Scores, 3, 3), "8");
    EXPECT_EQ(cellText(table, 3, ResultsView::Dates, 1, 3), "12/8");
    EXPECT_EQ(cellText(table, 3, ResultsView::Dates, 3, 3), "");
    EXPECT_EQ(cellText(table, 3, ResultsView::Dates, 11, 3), "7.5") << "averages in both views";
    EXPECT_EQ(cellText(table, 2, ResultsView::Scores, 1, 3), "") << "another step";
}
