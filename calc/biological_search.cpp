#include <algorithm>
#include <cmath>

#include "days_below.h"
#include "statistics.h"

namespace vd {

namespace {

// A safety net for the interpolation: real records settle within a few dozen steps.
constexpr int maxInterpolationSteps = 10000;

// The largest known average, or -huge when none is known.
double largestKnownValue(std::span<const double> averages) {
    double largest = -huge;
    for (const double v : averages)
        if (v != unknown) largest = std::max(largest, v);
    return largest;
}

struct Bracket {
    double fl = 0, xl = 0;  // flow and count at the lower bound
    double fu = 0, xu = 0;  // flow and count at the upper bound

    bool settled(double a) const {
        return fu - fl < eps * fu || std::abs(fu - fl) < 0.1 || std::abs(a - xl) < eps;
    }
};

// The count over the candidate days when they hold every day below the flow.
double countBelow(std::span<const double> averages, const SearchParameters& p, double flow,
                  DaysBelow& candidates) {
    if (!candidates.covers(flow)) return excursionCount(averages, p, flow);
    return excursionCount(averages, p, flow, candidates.below(averages, flow));
}

// Raises the upper flow until its count exceeds the allowed count `a`. False when even a
// flow above every known value stays within it: no flow can then reach the count.
bool raiseUpperFlow(std::span<const double> averages, const SearchParameters& p, Bracket& b,
                    double a) {
    const double largest = largestKnownValue(averages);
    while (b.xu <= a) {
        if (b.fu > largest) return false;
        b.fu = 2 * b.fu + 1;
        b.xu = excursionCount(averages, p, b.fu);
    }
    return true;
}

}  // namespace

double biologicalRecordYears(const DailySeries& series, const SearchParameters& p) {
    if (p.withinSeason)
        return seasonYearCount(series.calendar, static_cast<int>(series.days.size()));
    return series.recordDays / 365.0;
}

double biologicalSearch(std::span<const double> averages, const SearchParameters& p,
                        double recordYears, double start) {
    if (start <= 0) return start;
    const double a = recordYears / p.yearsBetween;
    // The flows tried lie below the upper flow, which only falls once raised: the counts
    // look at the days below it, not at the whole series.
    DaysBelow candidates;
    candidates.reset(averages, start);
    Bracket b;
    b.fu = start;
    b.xu = countBelow(averages, p, b.fu, candidates);
    if (!raiseUpperFlow(averages, p, b, a)) return -1;
    if (!candidates.covers(b.fu)) candidates.reset(averages, b.fu);

    double found = start;
    for (int step = 0; step < maxInterpolationSteps && !b.settled(a); ++step) {
        if (std::abs(a - b.xu) < eps) {
            b.fl = b.fu;  // the upper flow already gives the allowed count
            continue;
        }
        const double ft = b.fl + (b.fu - b.fl) * (a - b.xl) / (b.xu - b.xl);
        const double xt = countBelow(averages, p, ft, candidates);
        if (xt <= a) {
            b.fl = ft;
            b.xl = xt;
        } else {
            b.fu = ft;
            b.xu = xt;
            candidates.narrowTo(ft);
        }
        found = b.fl;
    }
    return found;
}

double snapTinyFlow(double flow) {
    return std::abs(flow) < eps ? 0.0 : flow;
}

}  // namespace vd
