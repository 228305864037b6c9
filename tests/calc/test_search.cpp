#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "calendar.h"
#include "statistics.h"
#include "stats_fixture.h"

namespace vd {
namespace {

using test::seriesWithLowDays;
using test::stateWithSeries;

// 3650 averaged days of 100 with one day each of 1 to 10, 300 days apart: with
// oneDayClusters the count below F is the number of those values below F.
std::unique_ptr<CalcState> tenLowDays() {
    std::vector<double> days(3650, 100);
    for (int v = 1; v <= 10; ++v) days[static_cast<std::size_t>(300 * v)] = v;
    return stateWithSeries(days);
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
    auto s = tenLowDays();
    const SearchParameters p = oneDayClusters(5);  // a = 2
    const double found = BiologicalSearch(*s, p, GetParam().start);
    EXPECT_DOUBLE_EQ(found, GetParam().expected);
    EXPECT_LE(Xcount(*s, p, false, found), 2);
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
    auto s = tenLowDays();
    const SearchParameters p = oneDayClusters(5.01);  // a = 1.996; the count at 2.5 is 2
    EXPECT_EQ(BiologicalSearch(*s, p, 2.5), 2.5);
}

TEST(BiologicalSearch, NotPositiveStartIsPassedOn) {
    auto s = tenLowDays();
    const SearchParameters p = oneDayClusters(5);
    EXPECT_EQ(BiologicalSearch(*s, p, 0), 0);
    EXPECT_EQ(BiologicalSearch(*s, p, -1), -1);
}

TEST(BiologicalSearch, FindsNoFlowWhenNoFlowReachesTheAllowedCount) {
    auto s = tenLowDays();
    SearchParameters nothingCounted = oneDayClusters(5);
    nothingCounted.excursionsPerCluster = 0;
    EXPECT_EQ(BiologicalSearch(*s, nothingCounted, 5), -1);

    // One known year in ten: at most 4 clusters however high the flow, 10 allowed.
    std::vector<double> days(3650, unknown);
    for (int i = 0; i < 365; ++i) days[static_cast<std::size_t>(i)] = 50;
    auto sparse = stateWithSeries(days);
    EXPECT_EQ(BiologicalSearch(*sparse, oneDayClusters(1), 5), -1);
}

TEST(SnapTinyFlow, ReportsFlowsBelowTheToleranceAsZero) {
    EXPECT_EQ(SnapTinyFlow(0.004), 0);
    EXPECT_EQ(SnapTinyFlow(-0.004), 0);
    EXPECT_EQ(SnapTinyFlow(0.005), 0.005);
    EXPECT_EQ(SnapTinyFlow(-1), -1);
}

// Daily NWIS-style flows for season-years from 1 Apr of year index 101: a yearly cycle
// whose low grows with the year, so every season-year has its own minimum.
std::unique_ptr<CalcState> cyclingGage(int years) {
    const int first = DayNumber(101, 4, 1);
    const int days = DayNumber(101 + years, 3, 31) - first;
    std::vector<double> flows;
    for (int d = 0; d < days; ++d) {
        const double phase = 2 * std::numbers::pi * d / 365.25;
        flows.push_back(30 + 1.5 * (d / 365) + 40 * (1 + std::cos(phase)) + (d % 5));
    }
    auto s = stateWithSeries(flows);
    s->J1 = 101;
    s->JD1 = first - 1;
    s->JD2 = s->JD1 + days;
    s->m1 = 4;
    s->d1 = 1;
    s->m2 = 3;
    s->d2 = 31;
    s->sday = 1;
    s->eday = 365;
    s->nwis = true;
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

    double search(CalcState& s, const SearchParameters& p = sevenQTen()) const {
        VDSearch(s, p, lib);
        return s.vando;
    }
};

TEST_F(SearchWithLibrary, NeedsAsManySeasonYearsAsTheReturnPeriod) {
    auto nine = cyclingGage(9);
    EXPECT_EQ(search(*nine), -1);

    auto ten = cyclingGage(10);
    lfarray minima;
    const double flow = search(*ten);
    ASSERT_EQ(AnnualMinima(*ten, sevenQTen(), minima), 10);  // on the averages VDSearch left
    EXPECT_GT(flow, 0);
    EXPECT_LT(flow, minima[5]);  // below the median of ten growing minima
}

TEST_F(SearchWithLibrary, ReturnPeriodIsTheWholePartOfXmr) {
    const auto searchFor = [&](double XMR) {
        SearchParameters p = sevenQTen();
        p.yearsBetween = XMR;
        return search(*cyclingGage(11), p);
    };
    EXPECT_EQ(searchFor(10.9), searchFor(10));
    EXPECT_NE(searchFor(11), searchFor(10));
}

TEST_F(SearchWithLibrary, MinimumOfOneMillionthIsAZeroYear) {
    // Season 1 Apr - 30 Sep, one-day flows; a missing 31 Mar before the third season-year
    // restarts the running sum, so its 1 Apr value reaches the minima exactly.
    const auto withThirdYearLow = [&](double low) {
        auto s = cyclingGage(11);
        SearchParameters oneDay = sevenQTen();
        oneDay.averagingDays = 1;
        s->m2 = 9;
        s->d2 = 30;
        s->eday = 183;
        const int thirdYear = DayNumber(103, 4, 1) - s->JD1;
        s->x[thirdYear - 1] = unknown;
        s->x[thirdYear] = low;
        return search(*s, oneDay);
    };
    const double zero = withThirdYearLow(0);
    EXPECT_GT(zero, 0);
    EXPECT_EQ(withThirdYearLow(1.0e-6), zero);
    EXPECT_NE(withThirdYearLow(1.1e-6), zero);
}

TEST_F(SearchWithLibrary, BiologicalFlowReachesTheAllowedCount) {
    auto s = cyclingGage(12);
    SearchParameters p = sevenQTen();
    p.mode = biologicalMode;
    p.averagingDays = 1;
    p.yearsBetween = 3;
    const double flow = search(*s, p);
    ASSERT_GT(flow, 0);
    const double allowed = s->NDAYS / 365.0 / p.yearsBetween;
    EXPECT_LE(Xcount(*s, p, false, flow), allowed);
    EXPECT_GT(Xcount(*s, p, false, flow * 1.01 + 0.1), allowed);
}

TEST_F(SearchWithLibrary, NoDaysGiveNoFlowButTheTableExists) {
    auto s = cyclingGage(10);
    s->NDAYS = 0;
    s->StoreAP = true;
    s->jglobal = 4;
    EXPECT_EQ(search(*s), -1);
    ASSERT_TRUE(s->advpar[4]);
    EXPECT_EQ((*s->advpar[4])[1][1], static_cast<float>(unknown));
}

TEST_F(SearchWithLibrary, AverageOnlyStopsAfterTheAverages) {
    auto s = cyclingGage(10);
    const double firstWeek =
        (s->x[1] + s->x[2] + s->x[3] + s->x[4] + s->x[5] + s->x[6] + s->x[7]) / 7;
    s->averageonlyflag = true;
    EXPECT_EQ(search(*s), -1);
    EXPECT_NEAR(s->x[1], firstWeek, 1e-9);
    EXPECT_GT(s->hflow, 0);
}

TEST_F(SearchWithLibrary, TinyLowFlowIsReportedAsZero) {
    auto s = cyclingGage(10);
    for (int k = 1; k <= s->JD2 - s->JD1; ++k) s->x[k] /= 10000;  // lows about 0.003
    EXPECT_EQ(search(*s), 0);
}

}  // namespace
}  // namespace vd
