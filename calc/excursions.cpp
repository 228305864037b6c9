#include <algorithm>
#include <cmath>

#include "statistics.h"

namespace vd {

namespace {

// Periods beyond this are not recorded; the count is made from the periods found so far.
constexpr int periodLimit = 500;

bool extendsPeriod(const ExcursionRecord& e, int p, int n, double XMI) {
    return e.JXP2[p] + 1 >= n && e.JXP2[p] - e.JXP1[p] < XMI;
}

int openPeriod(ExcursionRecord& e, int n) {
    const int p = ++e.NXP;
    e.JXP1[p] = n;
    e.JXP2[p] = n - 1;
    e.XPXP[p] = 0;
    e.NX[p] = 0;
    e.SX[p] = 0;
    return p;
}

// The excursion day n adds the days of its window not yet covered by period p.
void addExcursionDay(ExcursionRecord& e, int p, int n, int M, double F, double average) {
    const int length = std::max(0, n + M - 1 - e.JXP2[p]);
    e.XPXP[p] += static_cast<double>(length) / M;
    if (length > 0) e.JXP2[p] += length;
    e.NX[p] += 1;
    e.SX[p] += F / std::max(average, 0.001);
}

// Days n in increasing order; only those whose average is known and below F count.
template <class Days>
void recordPeriodsOver(ExcursionRecord& e, const double* x, const SearchParameters& sp, double F,
                       const Days& days) {
    for (const int n : days) {
        const double v = x[n - 1];
        if (v == unknown || !(v < F)) continue;
        if (e.NXP == periodLimit) return;
        int p = e.NXP;
        if (!extendsPeriod(e, p, n, sp.clusterDays)) p = openPeriod(e, n);
        addExcursionDay(e, p, n, sp.averagingDays, F, v);
    }
}

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

int lastDay(const CalcState& s) {
    const int last = s.JD2 - s.JD1;
    if (last > maxdays) throw Error(ErrorCode::range);
    return last;
}

// A cluster holds the periods that start within XMI days of its first period's start and
// counts at most XME excursions.
double formClusters(ExcursionRecord& e, double XMI, double XME) {
    e.NXC = 0;
    if (e.NXP <= 1) return 0;
    double jstart = -std::trunc(XMI);
    for (int j = 2; j <= e.NXP; ++j) {
        if (e.JXP1[j] - jstart > XMI) {
            ++e.NXC;
            e.XPXC[e.NXC] = 0;
            jstart = e.JXP1[j];
            e.KXC1[e.NXC] = j;
        }
        e.KXC2[e.NXC] = j;
        e.XPXC[e.NXC] = std::min(XME, e.XPXC[e.NXC] + e.XPXP[j]);
    }
    double total = 0;
    for (int c = 1; c <= e.NXC; ++c) total += e.XPXC[c];
    return total;
}

ExcursionRecord& startRecord(CalcState& s, bool IsREalFlag, double F) {
    ExcursionRecord& e = excursionSlot(s, IsREalFlag ? s.flows_idx : 0);
    e.Flow = F;
    e.JD1SAVE = s.JD1;
    e.JD2SAVE = s.JD2;
    e.NXP = 1;
    e.JXP1[1] = 0;
    e.JXP2[1] = -99;  // placeholder period, far from any real day
    return e;
}

}  // namespace

double Xcount(CalcState& s, const SearchParameters& p, bool IsREalFlag, double F) {
    ExcursionRecord& e = startRecord(s, IsREalFlag, F);
    // Days 1..last, proven in range by lastDay: indexed without a check per day.
    recordPeriodsOver(e, s.x.begin(), p, F, AllDays{lastDay(s)});
    return formClusters(e, p.clusterDays, p.excursionsPerCluster);
}

double Xcount(CalcState& s, const SearchParameters& p, bool IsREalFlag, double F,
              std::span<const int> days) {
    ExcursionRecord& e = startRecord(s, IsREalFlag, F);
    const int last = lastDay(s);
    for (const int n : days)
        if (n < 1 || n > last) throw Error(ErrorCode::range);
    recordPeriodsOver(e, s.x.begin(), p, F, days);
    return formClusters(e, p.clusterDays, p.excursionsPerCluster);
}

}  // namespace vd
