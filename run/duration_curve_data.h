// What the flow-duration curve of one gage shows, as numbers: each distinct positive daily
// flow of the period against the percent of days at or above it, and the design flows at
// their percentiles. The percent is counted as the engine counts the percentiles of the
// design flows (missing days among the days not below), so the marks sit on the curve.
#pragma once

#include <vector>

#include "design_flow_levels.h"
#include "gage_result.h"
#include "log_axis_range.h"

namespace vd::run {

struct DurationPoint {
    double percentExceeded = 0;
    double flow = 0;
};

struct DurationMark {
    DesignFlowLevel level;
    double percentExceeded = 0;  // 100 minus the engine's percentile
};

struct DurationCurveData {
    std::vector<DurationPoint> curve;  // largest flow first
    std::vector<DurationMark> marks;
    LogAxisRange flowRange;
};

DurationCurveData durationCurveData(const GageResult& gage);

}  // namespace vd::run
