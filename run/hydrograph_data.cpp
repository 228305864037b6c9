#include "hydrograph_data.h"

#include <algorithm>

#include "calendar.h"

namespace vd::run {
namespace {

constexpr double millisecondsPerDay = 86400000.0;

std::vector<std::vector<DayFlow>> unbrokenRuns(const DailyFlows& daily) {
    std::vector<std::vector<DayFlow>> runs;
    bool open = false;
    for (std::size_t k = 0; k < daily.flows.size(); ++k) {
        const double flow = daily.flows[k];
        // NaN (a missing day) and zero both fail the test.
        if (!(flow > 0)) {
            open = false;
            continue;
        }
        if (!open) runs.emplace_back();
        open = true;
        runs.back().push_back({daily.firstDay + static_cast<int>(k), flow});
    }
    return runs;
}

void addExcursions(const BiologicalExcursions& r, HydrographData& h) {
    const auto cut = [&](int first, int last) {
        return DayInterval{std::max(first, h.firstDay), std::min(last, h.lastDay)};
    };
    const std::vector<ExcursionPeriod>& periods = r.excursions.periods;
    for (const ExcursionCluster& c : r.excursions.clusters) {
        const auto first = static_cast<std::size_t>(c.firstPeriod);
        int clusterEnd = periods.at(first).lastDay;
        for (int k = c.firstPeriod; k <= c.lastPeriod; ++k) {
            const ExcursionPeriod& p = periods.at(static_cast<std::size_t>(k));
            h.excursionPeriods.push_back(cut(r.dayNumber(p.firstDay), r.dayNumber(p.lastDay)));
            clusterEnd = std::max(clusterEnd, p.lastDay);
        }
        h.clusters.push_back(cut(r.dayNumber(periods.at(first).firstDay), r.dayNumber(clusterEnd)));
    }
}

}  // namespace

HydrographData hydrographData(const GageResult& gage) {
    HydrographData h;
    h.levels = designFlowLevels(gage);
    LogAxisRangeBuilder range;
    if (gage.daily) {
        h.firstDay = gage.daily->firstDay;
        h.lastDay = gage.daily->firstDay + static_cast<int>(gage.daily->flows.size()) - 1;
        h.segments = unbrokenRuns(*gage.daily);
        for (const double flow : gage.daily->flows) range.take(flow);
    } else {
        h.lastDay = h.firstDay - 1;
    }
    for (const DesignFlowLevel& level : h.levels) range.take(level.flow);
    h.flowRange = range.range();
    if (gage.excursions && gage.daily) addExcursions(*gage.excursions, h);
    return h;
}

double epochMilliseconds(int dayNumber) {
    const int epoch = DayNumber(70, 1, 1);
    return (dayNumber - epoch) * millisecondsPerDay;
}

}  // namespace vd::run
