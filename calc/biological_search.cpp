#include <algorithm>
#include <cmath>

#include "days_below.h"
#include "season_windows.h"
#include "statistics.h"

namespace vd {

namespace {

// A safety net for the interpolation: real records settle within a few dozen steps.
constexpr int maxInterpolationSteps = 10000;

// The largest known value of the averaged series, or -huge when none is known.
double largestKnownValue(const CalcState& s) {
    double largest = -huge;
    for (int n = 1; n <= s.JD2 - s.JD1; ++n)
        if (s.x[n] != unknown) largest = std::max(largest, s.x[n]);
    return largest;
}

struct Bracket {
    double fl = 0, xl = 0;  // flow and count at the lower bound
    double fu = 0, xu = 0;  // flow and count at the upper bound

    bool settled(double a) const {
        return fu - fl < eps * fu || std::abs(fu - fl) < 0.1 || std::abs(a - xl) < eps;
    }
};

double count(CalcState& s, const SearchParameters& p, double flow) {
    return Xcount(s, p, false, flow);
}

// The same count, over the candidate days when they hold every day below the flow.
double count(CalcState& s, const SearchParameters& p, double flow, DaysBelow& candidates) {
    if (!candidates.covers(flow)) return count(s, p, flow);
    return Xcount(s, p, false, flow, candidates.below(s, flow));
}

// Raises the upper flow until its count exceeds the allowed count `a`. False when even a
// flow above every known value stays within it: no flow can then reach the count.
bool raiseUpperFlow(CalcState& s, const SearchParameters& p, Bracket& b, double a) {
    const double largest = largestKnownValue(s);
    while (b.xu <= a) {
        if (b.fu > largest) return false;
        b.fu = 2 * b.fu + 1;
        b.xu = count(s, p, b.fu);
    }
    return true;
}

}  // namespace

double BiologicalSearch(CalcState& s, const SearchParameters& p, double start) {
    if (start <= 0) return start;
    // One excursion per XMR years of record, or per XMR season-years within the season.
    const double years = p.withinSeason ? SeasonYearCount(s) : s.NDAYS / 365.0;
    const double a = years / p.yearsBetween;
    // The flows tried lie below the upper flow, which only falls once raised: the counts
    // look at the days below it, not at the whole series.
    DaysBelow candidates;
    candidates.reset(s, start);
    Bracket b;
    b.fu = start;
    b.xu = count(s, p, b.fu, candidates);
    if (!raiseUpperFlow(s, p, b, a)) return -1;
    if (!candidates.covers(b.fu)) candidates.reset(s, b.fu);

    double found = start;
    for (int step = 0; step < maxInterpolationSteps && !b.settled(a); ++step) {
        if (std::abs(a - b.xu) < eps) {
            b.fl = b.fu;  // the upper flow already gives the allowed count
            continue;
        }
        const double ft = b.fl + (b.fu - b.fl) * (a - b.xl) / (b.xu - b.xl);
        const double xt = count(s, p, ft, candidates);
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

double SnapTinyFlow(double flow) {
    return std::abs(flow) < eps ? 0.0 : flow;
}

}  // namespace vd
