// Small series for the statistics tests.
#pragma once

#include <vector>

#include "statistics.h"

namespace vd::test {

inline constexpr double U = unknown;

// A series for the statistics: its days (day k at days[k - 1]), where day 1 lies in the
// season calendar, and its days of record.
struct TestSeries {
    std::vector<double> days;
    SeasonCalendar calendar;
    int recordDays = 0;

    // Day k, from 1.
    double& day(int k) { return days.at(static_cast<std::size_t>(k - 1)); }
    DailySeries series() const { return {days, calendar, recordDays}; }
};

// A series that holds `days` from day 1 on; every statistic runs over all of them.
inline TestSeries seriesOf(const std::vector<double>& days) {
    return {days, {}, static_cast<int>(days.size())};
}

// `length` days of `base`, with `low` on the given 1-based days.
inline std::vector<double> seriesWithLowDays(int length, double base, const std::vector<int>& days,
                                             double low) {
    std::vector<double> v(static_cast<std::size_t>(length), base);
    for (const int d : days) v[static_cast<std::size_t>(d - 1)] = low;
    return v;
}

}  // namespace vd::test
