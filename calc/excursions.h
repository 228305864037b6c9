// Excursions of x-day averages below a flow: the periods of consecutive excursion days, and
// the clusters those periods form, each counting a limited number of excursions.
#pragma once

#include <span>
#include <vector>

#include "search_parameters.h"

namespace vd {

// Days firstDay..lastDay (series positions from 1) covered by the windows of the averages
// below the flow; `daysBelow` of those averages, whose flow / average ratios sum to
// `ratioSum`, make `excursions` (the days covered, in window lengths).
struct ExcursionPeriod {
    int firstDay = 0;
    int lastDay = 0;
    int daysBelow = 0;
    double ratioSum = 0;
    double excursions = 0;

    // How far below the flow the period's averages were on average, in percent.
    double averageExcursionPercent() const {
        return daysBelow < 1 ? 0.0 : (ratioSum / daysBelow - 1) * 100;
    }
};

// Periods firstPeriod..lastPeriod (indexes into Excursions::periods) starting within
// p.clusterDays of the first one's start; they count `excursions`, at most
// p.excursionsPerCluster.
struct ExcursionCluster {
    int firstPeriod = 0;
    int lastPeriod = 0;
    double excursions = 0;
};

struct Excursions {
    double flow = 0;
    std::vector<ExcursionPeriod> periods;
    std::vector<ExcursionCluster> clusters;
    double count = 0;  // the clusters' excursions together
};

// The excursions of the averages below `flow`, with the window length, cluster span and
// cluster cap of `p`. At most 499 periods are recorded; the count is made from those.
Excursions countExcursions(std::span<const double> averages, const SearchParameters& p,
                           double flow);

// Only the count of the same excursions.
double excursionCount(std::span<const double> averages, const SearchParameters& p, double flow);

// The same count over `days` only: every day whose average is known and below the flow, in
// increasing order (other days listed are skipped). A day outside the series is a range error.
double excursionCount(std::span<const double> averages, const SearchParameters& p, double flow,
                      std::span<const int> days);

}  // namespace vd
