// Texts the results window shows beside its cells, so that the window only displays them.
#pragma once

#include <string>

#include "engine.h"

namespace vd::run {

// The hint of a "Period" cell: "Apr 1, 1970 - Mar 31, 2000" for the cell "1971-2000" of a
// season that runs over the end of the year (the first year is the one the first season
// starts in). Empty for a cell that holds no period ("N/A").
std::string periodHint(const std::string& periodCell, const std::string& seasonStart,
                       const std::string& seasonEnd, int seasonYearShift);

// The hint of results cell (col, gridRow), row 0 being the headers: a sentence that
// explains the column (and the cell, where it holds a special value); the gage's name in
// the gage column and the season dates of the period in the period column.
std::string cellHint(const RunResult& result, int col, int gridRow);

// The excursion window's caption for results row `row`: "Excursion analysis for " + the
// header of column 1 + " at " + the row's gage name.
std::string excursionCaption(const RunResult& result, int row);

// The notice shown in red when tooshort is set.
inline constexpr const char* insufficientDataNotice =
    "One or more design flow calculations were not performed because of insufficient data in "
    "the specified period";

}  // namespace vd::run
