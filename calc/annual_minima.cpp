#include "statistics.h"

namespace vd {

AnnualMinima annualMinima(std::span<const double> averages, const SeasonCalendar& calendar,
                          int windowDays) {
    AnnualMinima minima;
    const int dayCount = static_cast<int>(averages.size());
    // The windows start within days 1..dayCount: indexed without a check per day.
    const double* const average = averages.data();
    // One unknown window spoils the whole season-year.
    for (const SeasonWindowRange& r : seasonWindows(calendar, dayCount, windowDays)) {
        double lowest = huge;
        for (int j = r.first; j <= r.last; ++j) {
            const double v = average[j - 1];
            if (v == unknown) {
                lowest = unknown;
                break;
            }
            if (v < lowest) lowest = v;
        }
        if (lowest == unknown || lowest == huge) continue;
        minima.yearIndex.push_back(r.yearIndex);
        minima.flows.push_back(static_cast<float>(lowest));
    }
    return minima;
}

}  // namespace vd
