// The horizontal axis of the low-flow frequency chart: a normal-probability scale, on
// which log-normal flows fall on a straight line. Positions are the standard normal
// deviates of the non-exceedance probabilities; the ticks name the probability and, for
// the low flows, the return period 1/p.
#pragma once

#include <string>
#include <vector>

#include "duration_curve_data.h"
#include "frequency_plot_data.h"
#include "log_axis_range.h"

namespace vd::run {

// The standard normal deviate of 0 < p < 1.
double probabilityPosition(double nonExceedance);

struct ProbabilityTick {
    double position = 0;
    std::string probability;   // "0.1"
    std::string returnPeriod;  // "10 yr" for p <= 0.5, else empty
};

struct ProbabilityScale {
    double low = 0;  // positions
    double high = 0;
    std::vector<ProbabilityTick> ticks;  // those within [low, high]
};

// A scale that takes in every point of the chart, with a margin, widened to at least
// p = 0.05 ... 0.95.
ProbabilityScale probabilityScale(const FrequencyPlotData& data);

// The position of a percent of days (0 < percent < 100) on the flow-duration chart's scale.
double percentPosition(double percent);

// The flow-duration chart's scale: every point and mark of the curve that has a position
// (0 % and 100 % have none), widened to at least 1 % ... 99 %; ticks labelled in percent.
ProbabilityScale durationScale(const DurationCurveData& data);

// Where a design flow's mark lies on the flow-duration chart's scale: a zero flow, equalled
// or exceeded on every day, at the right-hand end, where the curve meets the zero days.
double durationMarkPosition(const ProbabilityScale& scale, double percentExceeded);

// The log flow axis: the minima, the curve, the band and the design flow.
LogAxisRange frequencyFlowRange(const FrequencyPlotData& data);

}  // namespace vd::run
