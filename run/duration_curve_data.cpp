#include "duration_curve_data.h"

#include <algorithm>
#include <functional>

namespace vd::run {
namespace {

// Positive flows of known days, largest first.
std::vector<double> positiveFlowsDescending(const DailyFlows& daily) {
    std::vector<double> flows;
    flows.reserve(daily.flows.size());
    for (const double flow : daily.flows)
        if (flow > 0) flows.push_back(flow);
    std::sort(flows.begin(), flows.end(), std::greater<>());
    return flows;
}

std::vector<DurationPoint> curveOf(const DailyFlows& daily) {
    const std::vector<double> flows = positiveFlowsDescending(daily);
    const auto known = static_cast<std::size_t>(
        std::count_if(daily.flows.begin(), daily.flows.end(), [](double f) { return f >= 0; }));
    const double days = static_cast<double>(daily.flows.size());
    std::vector<DurationPoint> curve;
    for (std::size_t i = 0; i < flows.size(); ++i) {
        // One point per distinct flow, at the last of its equal values.
        if (i + 1 < flows.size() && flows[i + 1] == flows[i]) continue;
        const double below = static_cast<double>(known - (i + 1));
        curve.push_back({(1 - below / days) * 100, flows[i]});
    }
    return curve;
}

}  // namespace

DurationCurveData durationCurveData(const GageResult& gage) {
    DurationCurveData d;
    LogAxisRangeBuilder range;
    if (gage.daily && !gage.daily->flows.empty()) {
        d.curve = curveOf(*gage.daily);
        for (const DurationPoint& p : d.curve) range.take(p.flow);
    }
    for (const DesignFlowLevel& level : designFlowLevels(gage)) {
        d.marks.push_back({level, 100 - level.percentile});
        range.take(level.flow);
    }
    d.flowRange = range.range();
    return d;
}

}  // namespace vd::run
