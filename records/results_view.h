#pragma once
#include "records/result_table.h"

#include <string>

namespace records {

constexpr int gridColumns = 12; // the chapter heading, ten tries, the average
constexpr int gridRows = 11;    // the headings, ten chapters

enum class ResultsView { Scores, Dates };

// The average of a chapter's stored scores in single precision with one decimal, halves rounded
// up (7.25 gives "7.3"); empty when the chapter has no score.
std::string averageText(const ResultTable& table, int courseChapter);

// The text of one cell of the table of step 1..5, column 0..11 and row 0..10.
std::string cellText(const ResultTable& table, int step, ResultsView view, int column, int row);

} // namespace records
