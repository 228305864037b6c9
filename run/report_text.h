// The text that "Copy to clipboard" of the results window puts on the clipboard: the
// comments, the season line, the results table (a TAB after every cell, CR LF after every
// row), the zero-adjusted harmonic means when a gage has zero days and, on request, the per-year
// block of advanced results.
#pragma once

#include <string>
#include <vector>

#include "engine.h"

namespace vd::run {

// What the report takes besides the results: the comments, the season it names and
// whether the per-year block follows ("Advanced results in clipboard").
struct ReportSettings {
    std::vector<std::string> comments;
    Season season;
    bool advanced = true;
    // Within the season, a line under the season line says so; the whole record, the
    // default, needs none.
    BioScope bioScope = BioScope::record;
};

// The report settings of a run: its own comments, season, advanced-block switch and scope.
ReportSettings reportSettingsOf(const RunSettings& settings);

std::string reportText(const RunResult& result, const ReportSettings& settings);

// The line that says the biological flow, the percentiles and the excursion rates were
// computed within the season, with CR LF CR LF; nothing over the whole record.
std::string bioScopeText(BioScope scope);

// The comment lines as both copied texts begin: CR LF, each line with CR LF, CR LF; nothing
// without lines.
std::string commentsText(const std::vector<std::string>& comments);

// Every cell followed by TAB, every row by CR LF.
std::string tableText(const std::vector<std::vector<std::string>>& grid);

// The zero-adjusted harmonic mean of each computed gage, a name and a flow per line, when a
// gage of the run has zero days; nothing otherwise (the two harmonic means are then equal).
std::string zeroAdjustedHarmonicText(const std::vector<GageResult>& gages);

// One row's part of the advanced block. Entries are sorted by their annual minimum on a
// copy, so the stored table is left as the run made it and every copy gives the same text.
std::string advancedRowText(const std::string& gageName, const std::vector<AnnualMinimum>& table);

}  // namespace vd::run
