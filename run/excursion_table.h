// The excursion analysis of one biological design flow: its clusters and excursion periods
// as the excursion window lists them, and the text its "Copy to clipboard" gives.
#pragma once

#include <string>
#include <vector>

#include "engine.h"

namespace vd::run {

struct ExcursionTable {
    // Row 0 the headers, one row per excursion period grouped by cluster, then "Total".
    std::vector<std::vector<std::string>> cells;
    // Per row of `cells`: the row is a cluster's last period (the window leaves a gap after it).
    std::vector<bool> endsCluster;
};

ExcursionTable excursionTable(const BiologicalExcursions& record);

// The excursion table of results row `row` (1-based). A row whose biological flow was not
// computed in this run has no record; asking for it is a calculation error.
ExcursionTable excursionTableOfRow(const RunResult& result, int row);

// "Mmm dd, yyyy" of a day number ("Apr  5, 1975").
std::string excursionDate(int dayNumber);

// The copied text: comments, for a season other than the full climatic year the line
// "Seasonal calculation: start day is S, end day is E", the report's line saying that the
// biological flow was taken within the season when it was, then the table.
std::string excursionCopyText(const ExcursionTable& table, const std::vector<std::string>& comments,
                              int sday, int eday, BioScope scope = BioScope::record);

}  // namespace vd::run
