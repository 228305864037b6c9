#include "duration_curve_data.h"

#include <algorithm>
#include <functional>

namespace vd::run {
namespace {

// Positive flows of known days, largest first.
std::vector<double> positiveFlowsDescending(const std::vector<double>& daily) {
    std::vector<double> flows;
    flows.reserve(daily.size());
    for (const double flow : daily)
        if (flow > 0) flows.push_back(flow);
    std::sort(flows.begin(), flows.end(), std::greater<>());
    return flows;
}

std::vector<DurationPoint> curveOf(const std::vector<double>& daily) {
    const std::vector<double> flows = positiveFlowsDescending(daily);
    const auto known = static_cast<std::size_t>(
        std::count_if(daily.begin(), daily.end(), [](double f) { return f >= 0; }));
    const double days = static_cast<double>(daily.size());
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
    // Within the season, the curve is that of the season's days, whose percentiles the
    // design flows carry.
    const std::vector<double>* days = gage.seasonDays ? gage.seasonDays.get()
                                      : gage.daily    ? &gage.daily->flows
                                                      : nullptr;
    if (days && !days->empty()) {
        d.curve = curveOf(*days);
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
