#include "excursions.h"

#include <algorithm>
#include <cmath>

#include "errors.h"
#include "flow_values.h"

namespace vd {

namespace {

// Periods from this one on are not recorded; the count is made from the periods found so
// far. (The limit counts a placeholder before the first period, as the tables always did.)
constexpr int periodLimit = 500;

// The excursion day n adds the days of its window not yet covered by the period.
void addExcursionDay(ExcursionPeriod& period, int n, int windowDays, double flow, double average) {
    const int length = std::max(0, n + windowDays - 1 - period.lastDay);
    period.excursions += static_cast<double>(length) / windowDays;
    if (length > 0) period.lastDay += length;
    period.daysBelow += 1;
    period.ratioSum += flow / std::max(average, 0.001);
}

// Days n in increasing order; only those whose average is known and below the flow count.
// Each finished period goes to `close`, in order.
template <class Days, class Close>
void scanPeriods(const double* averages, const SearchParameters& sp, double flow, const Days& days,
                 Close close) {
    ExcursionPeriod current;
    bool open = false;
    int opened = 1;
    for (const int n : days) {
        const double v = averages[n - 1];
        if (v == unknown || !(v < flow)) continue;
        if (opened == periodLimit) break;
        const bool extends =
            open && current.lastDay + 1 >= n && current.lastDay - current.firstDay < sp.clusterDays;
        if (!extends) {
            if (open) close(current);
            current = {n, n - 1, 0, 0, 0};
            open = true;
            ++opened;
        }
        addExcursionDay(current, n, sp.averagingDays, flow, v);
    }
    if (open) close(current);
}

// A cluster holds the periods that start within clusterDays of its first period's start and
// counts at most excursionsPerCluster. Periods come in order; `clusters` keeps them when
// given.
class ClusterCount {
  public:
    ClusterCount(const SearchParameters& p, std::vector<ExcursionCluster>* clusters)
        : ClusterDays(p.clusterDays),
          Cap(p.excursionsPerCluster),
          ClusterStart(-std::trunc(ClusterDays)),
          Clusters(clusters) {}

    void add(const ExcursionPeriod& period) {
        if (period.firstDay - ClusterStart > ClusterDays) {
            finish();
            open = true;
            current = {periods, periods, 0};
            ClusterStart = period.firstDay;
        }
        current.lastPeriod = periods;
        current.excursions = std::min(Cap, current.excursions + period.excursions);
        ++periods;
    }

    double total() {
        finish();
        return sum;
    }

  private:
    void finish() {
        if (!open) return;
        sum += current.excursions;
        if (Clusters) Clusters->push_back(current);
        open = false;
    }

    double ClusterDays;
    double Cap;
    double ClusterStart;  // the first day of the cluster's first period
    std::vector<ExcursionCluster>* Clusters;
    ExcursionCluster current;
    bool open = false;
    int periods = 0;
    double sum = 0;
};

// The days 1..last of the series, as a range without a stored list.
struct AllDays {
    struct Iterator {
        int n;
        int operator*() const { return n; }
        Iterator& operator++() {
            ++n;
            return *this;
        }
        bool operator!=(const Iterator& o) const { return n != o.n; }
    };
    int last;
    Iterator begin() const { return {1}; }
    Iterator end() const { return {last + 1}; }
};

AllDays allDaysOf(std::span<const double> averages) {
    return {static_cast<int>(averages.size())};
}

}  // namespace

Excursions countExcursions(std::span<const double> averages, const SearchParameters& p,
                           double flow) {
    Excursions e;
    e.flow = flow;
    ClusterCount clusters(p, &e.clusters);
    scanPeriods(averages.data(), p, flow, allDaysOf(averages), [&](const ExcursionPeriod& period) {
        e.periods.push_back(period);
        clusters.add(period);
    });
    e.count = clusters.total();
    return e;
}

double excursionCount(std::span<const double> averages, const SearchParameters& p, double flow) {
    ClusterCount clusters(p, nullptr);
    scanPeriods(averages.data(), p, flow, allDaysOf(averages),
                [&](const ExcursionPeriod& period) { clusters.add(period); });
    return clusters.total();
}

double excursionCount(std::span<const double> averages, const SearchParameters& p, double flow,
                      std::span<const int> days) {
    const int last = static_cast<int>(averages.size());
    for (const int n : days)
        if (n < 1 || n > last) throw Error(ErrorCode::range);
    ClusterCount clusters(p, nullptr);
    scanPeriods(averages.data(), p, flow, days,
                [&](const ExcursionPeriod& period) { clusters.add(period); });
    return clusters.total();
}

}  // namespace vd
