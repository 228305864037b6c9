#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "../common/error_assertions.h"
#include "days_below.h"
#include "statistics.h"
#include "stats_fixture.h"

namespace vd {
namespace {

using test::seriesWithLowDays;
using test::stateWithSeries;

// Averaged series of 100 with the given days at 1, counted below 10.
struct CountCase {
    const char* name;
    int M;
    double XMI;
    double XME;
    std::vector<int> lowDays;
    double count;
    int NXP;  // periods, the placeholder included
    int NXC;
};

class ExcursionCounts : public ::testing::TestWithParam<CountCase> {};

TEST_P(ExcursionCounts, FormPeriodsAndClusters) {
    const CountCase& c = GetParam();
    auto s = stateWithSeries(seriesWithLowDays(1000, 100, c.lowDays, 1));
    SearchParameters p;
    p.averagingDays = c.M;
    p.clusterDays = c.XMI;
    p.excursionsPerCluster = c.XME;
    EXPECT_DOUBLE_EQ(Xcount(*s, p, false, 10), c.count);
    const ExcursionRecord& e = excursionSlot(*s, 0);
    EXPECT_EQ(e.NXP, c.NXP);
    EXPECT_EQ(e.NXC, c.NXC);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExcursionCounts,
    ::testing::Values(
        // The second window overlaps the first: one period, 1 + 3/4.
        CountCase{"Overlapping", 4, 120, 5, {10, 13}, 1.75, 2, 1},
        // It starts the day after the first window ends: still one period.
        CountCase{"Touching", 4, 120, 5, {10, 14}, 2, 2, 1},
        // A gap of one day: two periods in one cluster.
        CountCase{"Separate", 4, 120, 5, {10, 16}, 2, 3, 1},
        // Clusters: a period starting exactly XMI days after the cluster's start joins it.
        CountCase{"ClusterEdgeJoins", 1, 120, 1, {10, 130}, 1, 3, 1},
        CountCase{"ClusterEdgeOpens", 1, 120, 1, {10, 131}, 2, 3, 2},
        CountCase{"ClusterCap", 1, 120, 5, {1, 20, 40, 60, 80, 100, 119}, 5, 8, 1},
        // A run of 20 days longer than XMI = 5 splits into periods of 6 days, each its own
        // cluster, each counting at most 3.
        CountCase{"LongRunSplits",
                  1,
                  5,
                  3,
                  {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29},
                  3 + 3 + 3 + 2,
                  5,
                  4},
        CountCase{"NoExcursion", 4, 120, 5, {}, 0, 1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Excursions, PeriodRecordsDaysCoveredAndFlowRatios) {
    auto s = stateWithSeries(seriesWithLowDays(100, 100, {10, 13}, 2));
    s->x[13] = 0;  // a zero average counts against 0.001
    SearchParameters p;
    p.averagingDays = 4;
    p.clusterDays = 120;
    p.excursionsPerCluster = 5;
    Xcount(*s, p, false, 10);
    const ExcursionRecord& e = excursionSlot(*s, 0);
    ASSERT_EQ(e.NXP, 2);
    EXPECT_EQ(e.JXP1[2], 10);
    EXPECT_EQ(e.JXP2[2], 16);  // last day of the second window
    EXPECT_EQ(e.NX[2], 2);
    EXPECT_DOUBLE_EQ(e.SX[2], 10 / 2.0 + 10 / 0.001);
    EXPECT_DOUBLE_EQ(e.XPXP[2], 1.75);
    EXPECT_EQ(e.KXC1[1], 2);
    EXPECT_EQ(e.KXC2[1], 2);
}

TEST(Excursions, UnknownAndEqualValuesAreNoExcursion) {
    auto s = stateWithSeries({unknown, 10, 9.99, unknown});
    SearchParameters p;
    p.averagingDays = 1;
    p.clusterDays = 120;
    p.excursionsPerCluster = 5;
    EXPECT_DOUBLE_EQ(Xcount(*s, p, false, 10), 1);
    EXPECT_EQ(excursionSlot(*s, 0).JXP1[2], 3);
}

TEST(Excursions, KeptCountGoesToTheResultsSlot) {
    auto s = stateWithSeries(seriesWithLowDays(100, 100, {5}, 1));
    s->JD1 = 4000;
    s->JD2 = 4100;
    SearchParameters p;
    p.averagingDays = 1;
    p.clusterDays = 120;
    p.excursionsPerCluster = 5;
    s->flows_idx = 7;
    Xcount(*s, p, true, 10);
    const ExcursionRecord& kept = excursionSlot(*s, 7);
    EXPECT_EQ(kept.NXP, 2);
    EXPECT_EQ(kept.Flow, 10);
    EXPECT_EQ(kept.JD1SAVE, 4000);
    EXPECT_EQ(kept.JD2SAVE, 4100);
    EXPECT_EQ(excursionSlot(*s, 0).NXP, 0);  // scratch untouched
}

TEST(Excursions, StopAtTheFiveHundredthPeriodStillCountsItsClusters) {
    // 600 two-day excursions, each its own period and cluster.
    std::vector<int> days;
    for (int k = 1; k <= 600; ++k) {
        days.push_back(4 * k);
        days.push_back(4 * k + 1);
    }
    auto s = stateWithSeries(seriesWithLowDays(2500, 100, days, 1));
    SearchParameters p;
    p.averagingDays = 1;
    p.clusterDays = 1;
    p.excursionsPerCluster = 10;
    const double count = Xcount(*s, p, false, 10);
    const ExcursionRecord& e = excursionSlot(*s, 0);
    EXPECT_EQ(e.NXP, 500);
    EXPECT_EQ(e.NX[499], 2);
    EXPECT_EQ(e.NX[500], 1);  // the day that opened it, no more
    EXPECT_EQ(e.NXC, 499);
    EXPECT_DOUBLE_EQ(count, 498 * 2 + 1);
}

// Every field of the count's record (periods and clusters) is the same in both.
void expectSameRecord(const ExcursionRecord& a, const ExcursionRecord& b) {
    ASSERT_EQ(a.NXP, b.NXP);
    for (int j = 1; j <= a.NXP; ++j) {
        EXPECT_EQ(a.JXP1[j], b.JXP1[j]) << j;
        EXPECT_EQ(a.JXP2[j], b.JXP2[j]) << j;
        EXPECT_EQ(a.NX[j], b.NX[j]) << j;
        EXPECT_EQ(a.SX[j], b.SX[j]) << j;
        EXPECT_EQ(a.XPXP[j], b.XPXP[j]) << j;
    }
    ASSERT_EQ(a.NXC, b.NXC);
    for (int c = 1; c <= a.NXC; ++c) {
        EXPECT_EQ(a.XPXC[c], b.XPXC[c]) << c;
        EXPECT_EQ(a.KXC1[c], b.KXC1[c]) << c;
        EXPECT_EQ(a.KXC2[c], b.KXC2[c]) << c;
    }
}

// Values 0..100 spread over the days (each repeated: ties at every whole flow), some zero
// days and runs of unknown days.
std::vector<double> mixedAverages() {
    std::vector<double> v(6000);
    for (std::size_t i = 0; i < v.size(); ++i) {
        v[i] = static_cast<double>((i * 37) % 101);
        if (i % 50 == 7) v[i] = 0;
        if (i % 400 < 5) v[i] = unknown;
    }
    return v;
}

struct ListCase {
    const char* name;
    int M;
    double XMI;
    double XME;
    double bound;               // the candidates are the days below this flow
    std::vector<double> flows;  // counted in turn, each narrowing the candidates
};

class CountOverCandidates : public ::testing::TestWithParam<ListCase> {};

TEST_P(CountOverCandidates, EqualsTheCountOverAllDays) {
    const ListCase& c = GetParam();
    auto s = stateWithSeries(mixedAverages());
    SearchParameters p;
    p.averagingDays = c.M;
    p.clusterDays = c.XMI;
    p.excursionsPerCluster = c.XME;
    DaysBelow candidates;
    candidates.reset(*s, c.bound);
    for (const double flow : c.flows) {
        SCOPED_TRACE(flow);
        const double all = Xcount(*s, p, false, flow);
        const ExcursionRecord whole = excursionSlot(*s, 0);
        ASSERT_TRUE(candidates.covers(flow));
        const double listed = Xcount(*s, p, false, flow, candidates.below(*s, flow));
        EXPECT_EQ(listed, all);
        expectSameRecord(excursionSlot(*s, 0), whole);
        candidates.narrowTo(flow);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CountOverCandidates,
    ::testing::Values(
        // Falling flows, on and between the tied values, down to the zero days and none.
        ListCase{"Falling", 7, 120, 5, 101, {101, 60, 50, 50, 37.5, 10, 1, 0.5, 0.0, -1}},
        // Days far apart: one period each, until the 500-period stop.
        ListCase{"PeriodStop", 1, 0, 10, 100, {100, 40, 20, 5}},
        // A bound between values; flows equal to it and far below.
        ListCase{"BoundBetweenValues", 30, 120, 4, 20.5, {20.5, 20, 3}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CountOverCandidates, ReachesThePeriodStop) {
    auto s = stateWithSeries(mixedAverages());
    SearchParameters p;
    p.averagingDays = 1;
    p.clusterDays = 0;
    p.excursionsPerCluster = 10;
    DaysBelow candidates;
    candidates.reset(*s, 40);
    Xcount(*s, p, false, 40, candidates.below(*s, 40));
    EXPECT_EQ(excursionSlot(*s, 0).NXP, 500);
}

TEST(DaysBelowFlow, KeepsOnlyKnownDaysBelowAndNarrowsOnlyToTheLastFlowFound) {
    auto s = stateWithSeries({5, unknown, 1, 2, 5, 0, std::nan("")});
    DaysBelow d;
    d.reset(*s, 5);
    EXPECT_EQ(std::vector<int>(d.days().begin(), d.days().end()), (std::vector<int>{3, 4, 6}));
    EXPECT_FALSE(d.covers(5.5));
    EXPECT_FALSE(d.covers(std::nan("")));
    const auto below2 = d.below(*s, 2);
    EXPECT_EQ(std::vector<int>(below2.begin(), below2.end()), (std::vector<int>{3, 6}));
    d.narrowTo(1);  // not the flow last found: the days stay
    EXPECT_TRUE(d.covers(4));
    d.narrowTo(2);
    EXPECT_FALSE(d.covers(4));
    EXPECT_EQ(std::vector<int>(d.days().begin(), d.days().end()), (std::vector<int>{3, 6}));
}

TEST(CountOverCandidates, DayOutsideTheSeriesIsARangeError) {
    auto s = stateWithSeries({1, 2, 3});
    SearchParameters p;
    p.averagingDays = 1;
    const std::vector<int> days{1, 4};
    EXPECT_ERROR_CODE(Xcount(*s, p, false, 10, days), ErrorCode::range);
}

}  // namespace
}  // namespace vd
