#include <gtest/gtest.h>

#include <vector>

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

}  // namespace
}  // namespace vd
