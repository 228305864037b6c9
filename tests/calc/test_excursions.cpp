#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "../common/error_assertions.h"
#include "days_below.h"
#include "errors.h"
#include "statistics.h"
#include "stats_fixture.h"

namespace vd {
namespace {

using test::seriesWithLowDays;

// Averaged series of 100 with the given days at 1, counted below 10.
struct CountCase {
    const char* name;
    int M;
    double XMI;
    double XME;
    std::vector<int> lowDays;
    double count;
    std::size_t periods;
    std::size_t clusters;
};

class ExcursionCounts : public ::testing::TestWithParam<CountCase> {};

TEST_P(ExcursionCounts, FormPeriodsAndClusters) {
    const CountCase& c = GetParam();
    const std::vector<double> x = seriesWithLowDays(1000, 100, c.lowDays, 1);
    SearchParameters p;
    p.averagingDays = c.M;
    p.clusterDays = c.XMI;
    p.excursionsPerCluster = c.XME;
    const Excursions e = countExcursions(x, p, 10);
    EXPECT_DOUBLE_EQ(e.count, c.count);
    EXPECT_EQ(excursionCount(x, p, 10), e.count);
    EXPECT_EQ(e.flow, 10);
    EXPECT_EQ(e.periods.size(), c.periods);
    EXPECT_EQ(e.clusters.size(), c.clusters);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExcursionCounts,
    ::testing::Values(
        // The second window overlaps the first: one period, 1 + 3/4.
        CountCase{"Overlapping", 4, 120, 5, {10, 13}, 1.75, 1, 1},
        // It starts the day after the first window ends: still one period.
        CountCase{"Touching", 4, 120, 5, {10, 14}, 2, 1, 1},
        // A gap of one day: two periods in one cluster.
        CountCase{"Separate", 4, 120, 5, {10, 16}, 2, 2, 1},
        // Clusters: a period starting exactly XMI days after the cluster's start joins it.
        CountCase{"ClusterEdgeJoins", 1, 120, 1, {10, 130}, 1, 2, 1},
        CountCase{"ClusterEdgeOpens", 1, 120, 1, {10, 131}, 2, 2, 2},
        CountCase{"ClusterCap", 1, 120, 5, {1, 20, 40, 60, 80, 100, 119}, 5, 7, 1},
        // A run of 20 days longer than XMI = 5 splits into periods of 6 days, each its own
        // cluster, each counting at most 3.
        CountCase{"LongRunSplits",
                  1,
                  5,
                  3,
                  {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29},
                  3 + 3 + 3 + 2,
                  4,
                  4},
        CountCase{"NoExcursion", 4, 120, 5, {}, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Excursions, PeriodRecordsDaysCoveredAndFlowRatios) {
    std::vector<double> x = seriesWithLowDays(100, 100, {10, 13}, 2);
    x[13 - 1] = 0;  // a zero average counts against 0.001
    SearchParameters p;
    p.averagingDays = 4;
    p.clusterDays = 120;
    p.excursionsPerCluster = 5;
    const Excursions e = countExcursions(x, p, 10);
    ASSERT_EQ(e.periods.size(), 1u);
    const ExcursionPeriod& period = e.periods[0];
    EXPECT_EQ(period.firstDay, 10);
    EXPECT_EQ(period.lastDay, 16);  // last day of the second window
    EXPECT_EQ(period.daysBelow, 2);
    EXPECT_DOUBLE_EQ(period.ratioSum, 10 / 2.0 + 10 / 0.001);
    EXPECT_DOUBLE_EQ(period.excursions, 1.75);
    EXPECT_DOUBLE_EQ(period.averageExcursionPercent(), (period.ratioSum / 2 - 1) * 100);
    ASSERT_EQ(e.clusters.size(), 1u);
    EXPECT_EQ(e.clusters[0].firstPeriod, 0);
    EXPECT_EQ(e.clusters[0].lastPeriod, 0);
    EXPECT_DOUBLE_EQ(e.clusters[0].excursions, 1.75);
}

TEST(Excursions, UnknownAndEqualValuesAreNoExcursion) {
    const std::vector<double> x{unknown, 10, 9.99, unknown};
    SearchParameters p;
    p.averagingDays = 1;
    p.clusterDays = 120;
    p.excursionsPerCluster = 5;
    const Excursions e = countExcursions(x, p, 10);
    EXPECT_DOUBLE_EQ(e.count, 1);
    ASSERT_EQ(e.periods.size(), 1u);
    EXPECT_EQ(e.periods[0].firstDay, 3);
}

TEST(Excursions, StopAtTheFiveHundredthPeriodStillCountsItsClusters) {
    // 600 two-day excursions, each its own period and cluster.
    std::vector<int> days;
    for (int k = 1; k <= 600; ++k) {
        days.push_back(4 * k);
        days.push_back(4 * k + 1);
    }
    const std::vector<double> x = seriesWithLowDays(2500, 100, days, 1);
    SearchParameters p;
    p.averagingDays = 1;
    p.clusterDays = 1;
    p.excursionsPerCluster = 10;
    const Excursions e = countExcursions(x, p, 10);
    ASSERT_EQ(e.periods.size(), 499u);
    EXPECT_EQ(e.periods[497].daysBelow, 2);
    EXPECT_EQ(e.periods[498].daysBelow, 1);  // the day that opened it, no more
    EXPECT_EQ(e.clusters.size(), 499u);
    EXPECT_DOUBLE_EQ(e.count, 498 * 2 + 1);
    EXPECT_EQ(excursionCount(x, p, 10), e.count);
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
    const std::vector<double> x = mixedAverages();
    SearchParameters p;
    p.averagingDays = c.M;
    p.clusterDays = c.XMI;
    p.excursionsPerCluster = c.XME;
    DaysBelow candidates;
    candidates.reset(x, c.bound);
    for (const double flow : c.flows) {
        SCOPED_TRACE(flow);
        const double all = excursionCount(x, p, flow);
        EXPECT_EQ(all, countExcursions(x, p, flow).count);
        ASSERT_TRUE(candidates.covers(flow));
        const double listed = excursionCount(x, p, flow, candidates.below(x, flow));
        EXPECT_EQ(listed, all);
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
    const std::vector<double> x = mixedAverages();
    SearchParameters p;
    p.averagingDays = 1;
    p.clusterDays = 0;
    p.excursionsPerCluster = 10;
    DaysBelow candidates;
    candidates.reset(x, 40);
    const Excursions all = countExcursions(x, p, 40);
    ASSERT_EQ(all.periods.size(), 499u);
    EXPECT_EQ(excursionCount(x, p, 40, candidates.below(x, 40)), all.count);
}

TEST(DaysBelowFlow, KeepsOnlyKnownDaysBelowAndNarrowsOnlyToTheLastFlowFound) {
    const std::vector<double> x{5, unknown, 1, 2, 5, 0, std::nan("")};
    DaysBelow d;
    d.reset(x, 5);
    EXPECT_EQ(std::vector<int>(d.days().begin(), d.days().end()), (std::vector<int>{3, 4, 6}));
    EXPECT_FALSE(d.covers(5.5));
    EXPECT_FALSE(d.covers(std::nan("")));
    const auto below2 = d.below(x, 2);
    EXPECT_EQ(std::vector<int>(below2.begin(), below2.end()), (std::vector<int>{3, 6}));
    d.narrowTo(1);  // not the flow last found: the days stay
    EXPECT_TRUE(d.covers(4));
    d.narrowTo(2);
    EXPECT_FALSE(d.covers(4));
    EXPECT_EQ(std::vector<int>(d.days().begin(), d.days().end()), (std::vector<int>{3, 6}));
}

TEST(CountOverCandidates, DayOutsideTheSeriesIsARangeError) {
    const std::vector<double> x{1, 2, 3};
    SearchParameters p;
    p.averagingDays = 1;
    const std::vector<int> days{1, 4};
    EXPECT_ERROR_CODE(excursionCount(x, p, 10, days), ErrorCode::range);
}

}  // namespace
}  // namespace vd
