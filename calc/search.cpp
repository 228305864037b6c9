#include <cmath>

#include "statistics.h"

namespace vd {

namespace {

int returnPeriodYears(double yearsBetween) {
    return static_cast<int>(std::trunc(yearsBetween));
}

}  // namespace

double lowFlowOfFit(const SearchParameters& p, const LogPearsonLibrary& lib,
                    const LogPearsonFit& fit, int years) {
    if (years < p.yearsBetween) return -1;
    return lib.flowFor(fit, returnPeriodYears(p.yearsBetween));
}

std::vector<double> searchAverages(const DailySeries& series, const SearchParameters& p) {
    const bool biological = p.mode == biologicalMode;
    std::vector<double> averages = movingAverages(series.days, p.averagingDays, biological);
    if (p.withinSeason && biological) keepSeasonWindows(averages, series.calendar, p.averagingDays);
    return averages;
}

LowFlowSearch lowFlowSearch(const DailySeries& series, const SearchParameters& p,
                            const LogPearsonLibrary& lib) {
    LowFlowSearch found;
    if (series.recordDays == 0) {
        // Nothing to search: the days stay as they are.
        found.averages.assign(series.days.begin(), series.days.end());
        return found;
    }
    found.averages = searchAverages(series, p);
    const AnnualMinima minima = annualMinima(found.averages, series.calendar, p.averagingDays);
    const int ny = minima.count();
    if (ny >= p.yearsBetween) found.flow = lowFlowOfFit(p, lib, lib.fit(minima.flows), ny);
    if (p.mode == biologicalMode)
        found.flow =
            biologicalSearch(found.averages, p, biologicalRecordYears(series, p), found.flow);
    found.flow = snapTinyFlow(found.flow);
    return found;
}

}  // namespace vd
