// The calculation run: every gage in use of the gage table, its biological design flow,
// the non-biological flows of each averaging period, their equivalent return periods, the
// per-year tables and the harmonic mean, as the cell texts of the results table. Qt-free:
// the window and the command-line program fill a RunInput and show the RunResult.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "calc_state.h"
#include "run_input.h"
#include "vd_a193.h"

namespace vd::run {

// Progress of a run: the progress window's caption and its gauge (0 to 100).
using ProgressFn = std::function<void(const std::string& caption, int gauge)>;

// What the run keeps of one results row beside its cell texts.
struct ResultsRowData {
    // The per-year table (years, annual minima, xQk flows, k); null when the run made none
    // for this row (short record, no averaging period, or no gage of this row was computed).
    std::shared_ptr<const aparray> advpar;
    // The excursions below this row's biological design flow; null unless this run kept one.
    std::shared_ptr<const ExcursionRecord> excursion;
    bool hasExcursion() const { return excursion != nullptr; }
};

struct RunResult {
    // Results table: row 0 the headers, row i the i-th gage in use; every row has the same
    // number of cells (9 + 6 x distinct averaging periods).
    std::vector<std::vector<std::string>> grid;
    // One per data row of `grid` (rows[i - 1] belongs to grid row i).
    std::vector<ResultsRowData> rows;
    // A design flow of the run could not be computed (the red notice of the results window).
    bool tooshort = false;
    // The season line ("Climatic year defined as Apr 1 - Mar 31"), red for a season that is
    // not a full climatic year; shown only when some file was read.
    std::string seasonLine;
    bool seasonLineRed = false;
    bool seasonLineShown = false;
    // Season as the run used it: day positions of start and end, and 1 when the season runs
    // over the end of the year.
    int sday = 0;
    int eday = 0;
    int SYAdjust = 0;
    // Time spent reading flow files during the run (seconds).
    double readSeconds = 0;

    int columnCount() const { return grid.empty() ? 0 : static_cast<int>(grid.front().size()); }
    int dataRowCount() const { return static_cast<int>(rows.size()); }
};

// How the per-return-period flows are computed. `reuse` averages the series, takes the
// annual minima and fits the distribution once per gage and averaging period; `literal`
// repeats the whole search for every return period. Both give identical results.
enum class SearchPath { reuse, literal };

// Runs the calculation. Conversion failures, refused parameters and unreadable files
// throw the calculator's typed errors (calc/errors.h) and abandon the run.
RunResult runCalculation(const RunInput& input, const A193& lib, const ProgressFn& progress = {},
                         SearchPath path = SearchPath::reuse);

}  // namespace vd::run
