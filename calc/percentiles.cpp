#include <algorithm>
#include <cmath>
#include <vector>

#include "season_windows.h"
#include "statistics.h"

namespace vd {

namespace {

constexpr double noPercentileFlow = 99999.0;

// The n smallest values seen so far, kept in order in one list; its largest entry is the
// n-th smallest once the list is full.
class SmallestValues {
  public:
    explicit SmallestValues(int n) : Capacity(static_cast<std::size_t>(n)) {
        Values.reserve(Capacity);
    }

    void offer(double v) {
        if (Values.size() == Capacity) {
            if (!(v < Values.back())) return;
            Values.pop_back();
        }
        Values.insert(std::upper_bound(Values.begin(), Values.end(), v), v);
    }

    // The largest value held: the n-th smallest, or the largest of fewer values.
    double largest() const { return Values.empty() ? noPercentileFlow : Values.back(); }

  private:
    std::size_t Capacity;
    std::vector<double> Values;  // ascending
};

}  // namespace

double percentile(const CalcState& s, int j, double flow) {
    if (s.NDAYS == 0) return 0;
    const auto& stored = s.store.xbig[j];
    int below = 0;
    if (stored) {
        const int last = s.JD2 - s.JD1;
        if (last > maxdays) throw Error(ErrorCode::range);
        // Days 1..last, proven in range above: indexed without a check per day.
        const double* const x = stored->begin();
        for (int i = 1; i <= last; ++i) {
            const double v = x[i - 1];
            if (v != unknown && v < flow) ++below;
        }
    }
    // Missing days count among the days not below the flow.
    return (1 - static_cast<double>(below) / s.NDAYS) * 100;
}

double percentileflow(const CalcState& s, int j, int ndays, double perc) {
    if (ndays == 0) return 0;
    const auto& stored = s.store.xbig[j];
    if (!stored) return noPercentileFlow;
    // Position wanted in ascending order; a percentile below 0 asks for the smallest.
    const int position = std::max(1, static_cast<int>(std::trunc(ndays * perc / 100 + 1)));
    SmallestValues smallest(position);
    for (int i = 1; i <= s.JD2 - s.JD1; ++i) {
        const double v = (*stored)[i];
        if (v != unknown) smallest.offer(v);
    }
    return smallest.largest();
}

namespace {

// The stored days of gage j inside the season, and how many there are (missing ones too).
struct SeasonDays {
    const darray* stored = nullptr;
    std::vector<SeasonWindowRange> ranges;
    int count = 0;
};

SeasonDays seasonDaysOf(const CalcState& s, int j) {
    SeasonDays d;
    d.stored = s.store.xbig[j].get();
    d.ranges = SeasonWindows(s, 1);
    for (const SeasonWindowRange& r : d.ranges) d.count += r.size();
    return d;
}

template <class Visit>
void forEachKnownSeasonDay(const SeasonDays& d, Visit visit) {
    if (!d.stored) return;
    for (const SeasonWindowRange& r : d.ranges)
        for (int i = r.first; i <= r.last; ++i)
            if ((*d.stored)[i] != unknown) visit((*d.stored)[i]);
}

}  // namespace

double seasonPercentile(const CalcState& s, int j, double flow) {
    const SeasonDays d = seasonDaysOf(s, j);
    if (d.count == 0) return 0;
    int below = 0;
    forEachKnownSeasonDay(d, [&](double v) { below += v < flow ? 1 : 0; });
    return (1 - static_cast<double>(below) / d.count) * 100;
}

double seasonPercentileFlow(const CalcState& s, int j, double perc) {
    const SeasonDays d = seasonDaysOf(s, j);
    if (d.count == 0) return 0;
    if (!d.stored) return noPercentileFlow;
    const int position = std::max(1, static_cast<int>(std::trunc(d.count * perc / 100 + 1)));
    SmallestValues smallest(position);
    forEachKnownSeasonDay(d, [&](double v) { smallest.offer(v); });
    return smallest.largest();
}

}  // namespace vd
