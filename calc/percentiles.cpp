#include <algorithm>
#include <cmath>
#include <vector>

#include "statistics.h"

namespace vd {

namespace {

constexpr double noPercentileFlow = 99999.0;

// The position-th smallest of `values` (from 1), or the largest of fewer values.
double smallestAt(std::vector<double>& values, int position) {
    if (values.empty()) return noPercentileFlow;
    const auto n = std::min(values.size(), static_cast<std::size_t>(position)) - 1;
    const auto nth = values.begin() + static_cast<std::ptrdiff_t>(n);
    std::nth_element(values.begin(), nth, values.end());
    return *nth;
}

// The days of the series inside the season, and how many there are (missing ones too).
struct SeasonDays {
    std::vector<SeasonWindowRange> ranges;
    int count = 0;
};

SeasonDays seasonDaysOf(const DailySeries& series) {
    SeasonDays d;
    d.ranges = seasonWindows(series.calendar, static_cast<int>(series.days.size()), 1);
    for (const SeasonWindowRange& r : d.ranges) d.count += r.size();
    return d;
}

template <class Visit>
void forEachKnownSeasonDay(const DailySeries& series, const SeasonDays& d, Visit visit) {
    for (const SeasonWindowRange& r : d.ranges)
        for (int i = r.first; i <= r.last; ++i) {
            const double v = series.days[static_cast<std::size_t>(i - 1)];
            if (v != unknown) visit(v);
        }
}

// Position wanted in ascending order; a percentile below 0 asks for the smallest.
int positionOfPercentile(int days, double percent) {
    return std::max(1, static_cast<int>(std::trunc(days * percent / 100 + 1)));
}

}  // namespace

double percentNotBelow(std::span<const double> days, int recordDays, double flow) {
    if (recordDays == 0) return 0;
    int below = 0;
    for (const double v : days)
        if (v != unknown && v < flow) ++below;
    // Missing days count among the days not below the flow.
    return (1 - static_cast<double>(below) / recordDays) * 100;
}

double flowAtPercentile(std::span<const double> days, int recordDays, double percent) {
    if (recordDays == 0) return 0;
    std::vector<double> known;
    known.reserve(days.size());
    for (const double v : days)
        if (v != unknown) known.push_back(v);
    return smallestAt(known, positionOfPercentile(recordDays, percent));
}

double seasonPercentNotBelow(const DailySeries& series, double flow) {
    const SeasonDays d = seasonDaysOf(series);
    if (d.count == 0) return 0;
    int below = 0;
    forEachKnownSeasonDay(series, d, [&](double v) { below += v < flow ? 1 : 0; });
    return (1 - static_cast<double>(below) / d.count) * 100;
}

double seasonFlowAtPercentile(const DailySeries& series, double percent) {
    const SeasonDays d = seasonDaysOf(series);
    if (d.count == 0) return 0;
    std::vector<double> known;
    forEachKnownSeasonDay(series, d, [&](double v) { known.push_back(v); });
    return smallestAt(known, positionOfPercentile(d.count, percent));
}

}  // namespace vd
