// The calculation run of the gage table: every gage in use, read from its file for the
// period the period choice gives it, computed with the run's settings. The result holds the
// numbers of each gage and, formatted from them, the cell texts of the results table.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gage_computation.h"
#include "gage_result.h"
#include "log_pearson_library.h"
#include "run_input.h"
#include "run_settings.h"

namespace vd::run {

// Progress of a run: the progress window's caption and its gauge (0 to 100).
using ProgressFn = std::function<void(const std::string& caption, int gauge)>;

struct RunResult {
    RunSettings settings;
    // One per gage in use, in table order.
    std::vector<GageResult> gages;
    // Results table formatted from `gages`: row 0 the headers, row i the i-th gage in use;
    // every row has the same number of cells (9 + 6 x distinct averaging periods).
    std::vector<std::vector<std::string>> grid;
    // A design flow of the run could not be computed (the red notice of the results window).
    bool tooshort = false;
    // The season line is shown only when some file was read.
    bool seasonLineShown = false;
    // Time spent reading flow files during the run (seconds).
    double readSeconds = 0;

    int columnCount() const { return grid.empty() ? 0 : static_cast<int>(grid.front().size()); }
    int dataRowCount() const { return static_cast<int>(gages.size()); }
    const GageResult& gage(int row) const { return gages.at(static_cast<std::size_t>(row - 1)); }
};

// Runs the calculation. Conversion failures, refused parameters and unreadable files
// throw the calculator's typed errors (calc/errors.h) and abandon the run.
RunResult runCalculation(const RunInput& input, const LogPearsonLibrary& lib,
                         const ProgressFn& progress = {}, SearchPath path = SearchPath::reuse);

}  // namespace vd::run
