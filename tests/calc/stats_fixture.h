// Small series for the statistics tests.
#pragma once

#include <memory>
#include <vector>

#include "calc_state.h"

namespace vd::test {

inline constexpr double U = unknown;

// A state whose series holds `days` from x[1] on; every statistic runs over all of them.
inline std::unique_ptr<CalcState> stateWithSeries(const std::vector<double>& days) {
    auto s = std::make_unique<CalcState>();
    for (std::size_t i = 0; i < days.size(); ++i) s->x[static_cast<int>(i) + 1] = days[i];
    s->JD1 = 1000;
    s->JD2 = 1000 + static_cast<int>(days.size());
    s->NDAYS = static_cast<int>(days.size());
    return s;
}

// `length` days of `base`, with `low` on the given 1-based days.
inline std::vector<double> seriesWithLowDays(int length, double base, const std::vector<int>& days,
                                             double low) {
    std::vector<double> v(static_cast<std::size_t>(length), base);
    for (const int d : days) v[static_cast<std::size_t>(d - 1)] = low;
    return v;
}

}  // namespace vd::test
