#include <algorithm>

#include "statistics.h"

namespace vd {

namespace {

// The lowest of the averages first..last, `huge` when there are none, `unknown` when one of
// them is unknown: one unknown window spoils the whole season-year.
double lowestOf(const double* first, const double* last) {
    double lowest = huge;
    for (const double* v = first; v < last; ++v) {
        if (*v == unknown) return unknown;
        lowest = std::min(lowest, *v);
    }
    return lowest;
}

}  // namespace

AnnualMinima annualMinima(std::span<const double> averages, const SeasonCalendar& calendar,
                          int windowDays) {
    AnnualMinima minima;
    const int dayCount = static_cast<int>(averages.size());
    // The windows start within days 1..dayCount: indexed without a check per day.
    const double* const average = averages.data();
    for (const SeasonWindowRange& r : seasonWindows(calendar, dayCount, windowDays)) {
        if (r.size() == 0) continue;
        const double lowest = lowestOf(average + (r.first - 1), average + r.last);
        if (lowest == unknown || lowest == huge) continue;
        minima.yearIndex.push_back(r.yearIndex);
        minima.flows.push_back(static_cast<float>(lowest));
    }
    return minima;
}

}  // namespace vd
