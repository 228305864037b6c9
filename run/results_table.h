// The results table's cell texts, formatted from the gages' numbers with the display rules
// of flows, percentiles, rates and counts.
#pragma once

#include <string>
#include <vector>

#include "gage_result.h"
#include "run_settings.h"

namespace vd::run {

using Cells = std::vector<std::vector<std::string>>;

// Row 0 the headers, then one row per gage: 9 + 6 x averaging periods cells each. The
// headers of the design flows are written once some gage has a full record.
Cells resultsCells(const std::vector<GageResult>& gages, const RunSettings& settings);

// "Climatic year defined as Apr 1 - Mar 31", or "Season defined as ..." for a season that
// is not a full climatic year.
std::string seasonLine(const Season& season);

// The percentile cell: "  99.91%".
std::string percentText(double value);

}  // namespace vd::run
