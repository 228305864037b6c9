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

void addExcursions(const ExcursionRecord& r, HydrographData& h) {
    const auto cut = [&](int first, int last) {
        return DayInterval{std::max(first, h.firstDay), std::min(last, h.lastDay)};
    };
    for (int c = 1; c <= r.NXC; ++c) {
        int clusterEnd = r.JXP2[r.KXC1[c]];
        for (int k = r.KXC1[c]; k <= r.KXC2[c]; ++k) {
            h.excursionPeriods.push_back(cut(r.JD1SAVE + r.JXP1[k], r.JD1SAVE + r.JXP2[k]));
            clusterEnd = std::max(clusterEnd, r.JXP2[k]);
        }
        h.clusters.push_back(cut(r.JD1SAVE + r.JXP1[r.KXC1[c]], r.JD1SAVE + clusterEnd));
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
