// What the hydrograph of one gage shows, as numbers: the daily flows of the period the run
// used in unbroken runs (a missing day, or a zero flow that a log axis cannot show, breaks
// the line), the design flows as levels, and the excursion periods of the biological flow
// with the clusters they form. The plot window and `vando3-cli plot` draw it.
#pragma once

#include <vector>

#include "design_flow_levels.h"
#include "gage_result.h"
#include "log_axis_range.h"

namespace vd::run {

// Days are the calculator's day numbers (1 January 1900 = day 1).
struct DayFlow {
    int day = 0;
    double flow = 0;
};

struct DayInterval {
    int firstDay = 0;
    int lastDay = 0;  // inclusive
};

struct HydrographData {
    int firstDay = 0;
    int lastDay = 0;  // inclusive; below firstDay when the gage has no daily flows
    std::vector<std::vector<DayFlow>> segments;
    std::vector<DesignFlowLevel> levels;
    // Each excursion period below the biological flow, in time order, and each cluster
    // from its first period's start to its last period's end; cut to the period drawn.
    std::vector<DayInterval> excursionPeriods;
    std::vector<DayInterval> clusters;
    LogAxisRange flowRange;  // takes in the daily flows and the levels
};

HydrographData hydrographData(const GageResult& gage);

// Milliseconds from 1970-01-01 00:00 UTC to the start of a day, as date axes count.
double epochMilliseconds(int dayNumber);

}  // namespace vd::run
