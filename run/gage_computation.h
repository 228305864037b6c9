// The design flows of one gage from its daily series and the run's settings. A gage needs
// nothing of a gage table or of other gages, so gages can be computed on several threads.
#pragma once

#include <functional>
#include <string>

#include "flow_series.h"
#include "gage_result.h"
#include "log_pearson_library.h"
#include "run_settings.h"

namespace vd::run {

// How the per-return-period flows are computed. `reuse` averages the series, takes the
// annual minima and fits the distribution once per gage and averaging period; `literal`
// repeats the whole search for every return period (and reports no fit, and so no minima,
// confidence limits or trend). Both give identical flows.
enum class SearchPath { reuse, literal };

// Where a gage's computation stands, for a progress display: `blockSteps` after each part
// of an averaging block (2 for its flow, 1 for its per-year table), `searching` with the
// return period being tried ("7Q3"), or empty when the search is over.
struct GageProgress {
    std::function<void(int steps)> blockSteps;
    std::function<void(const std::string& searching)> searching;
};

// What a result holds besides its numbers. A caller that needs only the numbers (the CSV)
// leaves out the per-year tables, the daily flows and the excursion record, which cost
// more than the design flows themselves; the numbers are the same either way.
struct GageExtras {
    bool perYearTables = true;
    bool dailyFlows = true;
    bool excursionRecord = true;
};

struct GageIdentity {
    std::string file;
    int gageInFile = 1;
};

// Computes every design flow of `series` (the gage's record over the period to use).
GageResult computeGage(const GageSeries& series, const GageIdentity& identity,
                       const RunSettings& settings, const LogPearsonLibrary& lib,
                       const GageProgress& progress = {}, SearchPath path = SearchPath::reuse,
                       const GageExtras& extras = {});

// The same, taking over the series' days instead of copying them.
GageResult computeGage(GageSeries&& series, const GageIdentity& identity,
                       const RunSettings& settings, const LogPearsonLibrary& lib,
                       const GageProgress& progress = {}, SearchPath path = SearchPath::reuse,
                       const GageExtras& extras = {});

}  // namespace vd::run
