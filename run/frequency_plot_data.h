// What the low-flow frequency chart of one gage and averaging period shows, as numbers:
// the seasonal annual minima at their plotting positions, the fitted log-Pearson curve,
// the 90 % confidence band around it, the design flow and the trend of the minima. The
// plot window and `vando3-cli plot` draw it; the numbers come from the gage's result.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "gage_result.h"

namespace vd::run {

// A flow at a probability of non-exceedance (0 < p < 1) in one season-year.
struct ProbabilityPoint {
    double nonExceedance = 0;
    double flow = 0;
};

struct FrequencyPlotData {
    int days = 0;         // the averaging period
    int returnYears = 0;  // y of the design xQy
    // The seasonal annual minima at Weibull positions i/(n+1), smallest first; zero years
    // included (the chart draws them at the floor of its log axis).
    std::vector<ProbabilityPoint> minima;
    // "15 of 19 years had a zero minimum", or empty when none had.
    std::string zeroYearsNote;
    // The fitted curve (with the zero-year adjustment when there are zero years), and the
    // lower and upper 90 % confidence limits at the same probabilities; points without a
    // finite positive flow are left out.
    std::vector<ProbabilityPoint> fitted;
    std::vector<ProbabilityPoint> lower90;
    std::vector<ProbabilityPoint> upper90;
    // The xQy at p = 1/y; none when it was not computed.
    std::optional<ProbabilityPoint> design;
    // "trend: −3.1 cfs/decade, p = 0.02", or empty when there are too few minima.
    std::string trendText;
};

// The chart of block `blockIndex` of a hydrological kind; none when the block has no fit.
std::optional<FrequencyPlotData> frequencyPlotData(const GageResult& gage, std::size_t blockIndex);

}  // namespace vd::run
