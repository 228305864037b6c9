#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "calendar.h"
#include "statistics.h"
#include "stats_fixture.h"

namespace vd {
namespace {

using test::seriesOf;
using test::seriesWithLowDays;
using test::TestSeries;

// 3650 averaged days of 100 with one day each of 1 to 10, 300 days apart: with
// oneDayClusters the count below F is the number of those values below F.
std::vector<double> tenLowDays() {
    std::vector<double> days(3650, 100);
    for (int v = 1; v <= 10; ++v) days[static_cast<std::size_t>(300 * v)] = v;
    return days;
}

// The biological search over ten years of averages.
double searchTen(const std::vector<double>& averages, const SearchParameters& p, double start) {
    return biologicalSearch(averages, p, static_cast<double>(averages.size()) / 365.0, start);
}

// M = 1, XMI = 120, XME = 1: every excursion day 300 days apart counts 1.
SearchParameters oneDayClusters(double XMR) {
    SearchParameters p;
    p.averagingDays = 1;
    p.clusterDays = 120;
    p.excursionsPerCluster = 1;
    p.yearsBetween = XMR;  // allowed count a = 10 / XMR on ten years
    return p;
}

struct SearchCase {
    const char* name;
    double start;
    double expected;
};

class BiologicalSearchFrom : public ::testing::TestWithParam<SearchCase> {};

TEST_P(BiologicalSearchFrom, InterpolatesTheCountToTheAllowedCount) {
    const std::vector<double> x = tenLowDays();
    const SearchParameters p = oneDayClusters(5);  // a = 2
    const double found = searchTen(x, p, GetParam().start);
    EXPECT_DOUBLE_EQ(found, GetParam().expected);
    EXPECT_LE(excursionCount(x, p, found), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BiologicalSearchFrom,
    ::testing::Values(
        // count 7 at 8: one step to 8 * 2/7, where the count is 2
        SearchCase{"FromAbove", 8, 16.0 / 7},
        // count 1 at 1.5: the upper flow doubles plus one to 4 (count 3), then 4 * 2/3
        SearchCase{"FromBelow", 1.5, 8.0 / 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BiologicalSearch, KeepsTheStartWhenItsCountIsWithinTheTolerance) {
    const std::vector<double> x = tenLowDays();
    const SearchParameters p = oneDayClusters(5.01);  // a = 1.996; the count at 2.5 is 2
    EXPECT_EQ(searchTen(x, p, 2.5), 2.5);
}

TEST(BiologicalSearch, NotPositiveStartIsPassedOn) {
    const std::vector<double> x = tenLowDays();
    const SearchParameters p = oneDayClusters(5);
    EXPECT_EQ(searchTen(x, p, 0), 0);
    EXPECT_EQ(searchTen(x, p, -1), -1);
}

TEST(BiologicalSearch, FindsNoFlowWhenNoFlowReachesTheAllowedCount) {
    SearchParameters nothingCounted = oneDayClusters(5);
    nothingCounted.excursionsPerCluster = 0;
    EXPECT_EQ(searchTen(tenLowDays(), nothingCounted, 5), -1);

    // One known year in ten: at most 4 clusters however high the flow, 10 allowed.
    std::vector<double> days(3650, unknown);
    for (int i = 0; i < 365; ++i) days[static_cast<std::size_t>(i)] = 50;
    EXPECT_EQ(searchTen(days, oneDayClusters(1), 5), -1);
}

TEST(SnapTinyFlow, ReportsFlowsBelowTheToleranceAsZero) {
    EXPECT_EQ(snapTinyFlow(0.004), 0);
    EXPECT_EQ(snapTinyFlow(-0.004), 0);
    EXPECT_EQ(snapTinyFlow(0.005), 0.005);
    EXPECT_EQ(snapTinyFlow(-1), -1);
}

// Daily NWIS-style flows for season-years from 1 Apr of year index 101: a yearly cycle
// whose low grows with the year, so every season-year has its own minimum.
TestSeries cyclingGage(int years) {
    const int first = DayNumber(101, 4, 1);
    const int days = DayNumber(101 + years, 3, 31) - first;
    std::vector<double> flows;
    for (int d = 0; d < days; ++d) {
        const double phase = 2 * std::numbers::pi * d / 365.25;
        flows.push_back(30 + 1.5 * (d / 365) + 40 * (1 + std::cos(phase)) + (d % 5));
    }
    TestSeries s = seriesOf(flows);
    s.calendar.firstYear = 101;
    s.calendar.startMonth = 4;
    s.calendar.startDay = 1;
    s.calendar.endMonth = 3;
    s.calendar.endDay = 31;
    s.calendar.startPosition = 1;
    s.calendar.endPosition = 365;
    s.calendar.startsOnSeasonStart = true;
    return s;
}

// The hydrological 7Q10.
SearchParameters sevenQTen() {
    SearchParameters p;
    p.mode = hydrologicalMode;
    p.averagingDays = 7;
    p.yearsBetween = 10;
    p.clusterDays = 120;
    p.excursionsPerCluster = 5;
    return p;
}

class SearchWithLibrary : public ::testing::Test {
  protected:
    const LogPearsonLibrary lib = LogPearsonLibrary::load(programFolder());

    double search(const TestSeries& s, const SearchParameters& p = sevenQTen()) const {
        return lowFlowSearch(s.series(), p, lib).flow;
    }
};

TEST_F(SearchWithLibrary, NeedsAsManySeasonYearsAsTheReturnPeriod) {
    EXPECT_EQ(search(cyclingGage(9)), -1);

    const TestSeries ten = cyclingGage(10);
    const LowFlowSearch found = lowFlowSearch(ten.series(), sevenQTen(), lib);
    const AnnualMinima minima = annualMinima(found.averages, ten.calendar, 7);
    ASSERT_EQ(minima.count(), 10);  // on the averages the search made
    EXPECT_GT(found.flow, 0);
    EXPECT_LT(found.flow, minima.flows[4]);  // below the median of ten growing minima
}

TEST_F(SearchWithLibrary, ReturnPeriodIsTheWholePartOfXmr) {
    const auto searchFor = [&](double XMR) {
        SearchParameters p = sevenQTen();
        p.yearsBetween = XMR;
        return search(cyclingGage(11), p);
    };
    EXPECT_EQ(searchFor(10.9), searchFor(10));
    EXPECT_NE(searchFor(11), searchFor(10));
}

TEST_F(SearchWithLibrary, MinimumOfOneMillionthIsAZeroYear) {
    // Season 1 Apr - 30 Sep, one-day flows; a missing 31 Mar before the third season-year
    // restarts the running sum, so its 1 Apr value reaches the minima exactly.
    const auto withThirdYearLow = [&](double low) {
        TestSeries s = cyclingGage(11);
        SearchParameters oneDay = sevenQTen();
        oneDay.averagingDays = 1;
        s.calendar.endMonth = 9;
        s.calendar.endDay = 30;
        s.calendar.endPosition = 183;
        const int thirdYear = DayNumber(103, 4, 1) - (DayNumber(101, 4, 1) - 1);
        s.day(thirdYear - 1) = unknown;
        s.day(thirdYear) = low;
        return search(s, oneDay);
    };
    const double zero = withThirdYearLow(0);
    EXPECT_GT(zero, 0);
    EXPECT_EQ(withThirdYearLow(1.0e-6), zero);
    EXPECT_NE(withThirdYearLow(1.1e-6), zero);
}

TEST_F(SearchWithLibrary, BiologicalFlowReachesTheAllowedCount) {
    const TestSeries s = cyclingGage(12);
    SearchParameters p = sevenQTen();
    p.mode = biologicalMode;
    p.averagingDays = 1;
    p.yearsBetween = 3;
    const LowFlowSearch found = lowFlowSearch(s.series(), p, lib);
    const double flow = found.flow;
    ASSERT_GT(flow, 0);
    const double allowed = s.recordDays / 365.0 / p.yearsBetween;
    EXPECT_LE(excursionCount(found.averages, p, flow), allowed);
    EXPECT_GT(excursionCount(found.averages, p, flow * 1.01 + 0.1), allowed);
}

TEST_F(SearchWithLibrary, NoDaysOfRecordGiveNoFlowAndLeaveTheDays) {
    TestSeries s = cyclingGage(10);
    s.recordDays = 0;
    const LowFlowSearch found = lowFlowSearch(s.series(), sevenQTen(), lib);
    EXPECT_EQ(found.flow, -1);
    EXPECT_EQ(found.averages, s.days);
}

TEST_F(SearchWithLibrary, SearchAveragesAreTheSearchsOwn) {
    TestSeries s = cyclingGage(10);
    const double firstWeek =
        (s.day(1) + s.day(2) + s.day(3) + s.day(4) + s.day(5) + s.day(6) + s.day(7)) / 7;
    const std::vector<double> averages = searchAverages(s.series(), sevenQTen());
    EXPECT_NEAR(averages[0], firstWeek, 1e-9);
    EXPECT_EQ(averages, lowFlowSearch(s.series(), sevenQTen(), lib).averages);
}

TEST_F(SearchWithLibrary, TinyLowFlowIsReportedAsZero) {
    TestSeries s = cyclingGage(10);
    for (double& day : s.days) day /= 10000;  // lows about 0.003
    EXPECT_EQ(search(s), 0);
}

}  // namespace
}  // namespace vd
