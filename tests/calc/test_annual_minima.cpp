#include <gtest/gtest.h>

#include <vector>

#include "calendar.h"
#include "statistics.h"
#include "stats_fixture.h"

namespace vd {
namespace {

// An averaged series of `days` values of 50 for seasons starting m1/d1 of year index J1.
test::TestSeries averagedSeries(int J1, int m1, int d1, int days) {
    test::TestSeries s = test::seriesOf(std::vector<double>(static_cast<std::size_t>(days), 50));
    s.calendar.firstYear = J1;
    s.calendar.startMonth = m1;
    s.calendar.startDay = d1;
    return s;
}

void climaticYear(test::TestSeries& s) {
    s.calendar.endMonth = 3;
    s.calendar.endDay = 31;
    s.calendar.startPosition = 1;
    s.calendar.endPosition = 365;
}

// The minima of the series' 1-based list, 0 past its end as the fit's table holds them.
float minimumAt(const AnnualMinima& m, int n) {
    return n <= m.count() ? m.flows[static_cast<std::size_t>(n - 1)] : 0.0f;
}

struct LeapCase {
    const char* name;
    int J1;        // 99: the first season-year (Apr 1999 - Mar 2000) has 366 days
    int position;  // day position of a low window in the first season-year
    bool counted;
};

class LeapSeasonYears : public ::testing::TestWithParam<LeapCase> {};

TEST_P(LeapSeasonYears, LastSevenDayWindowMovesWithTheLeapDay) {
    const LeapCase& c = GetParam();
    test::TestSeries s = averagedSeries(c.J1, 4, 1, 3 * 366);
    climaticYear(s);
    SearchParameters p;
    p.averagingDays = 7;
    s.day(c.position) = 1;
    const AnnualMinima y = annualMinima(s.days, s.calendar, p.averagingDays);
    ASSERT_GE(y.count(), 2);
    EXPECT_EQ(minimumAt(y, 1), c.counted ? 1.0f : 50.0f);
    EXPECT_EQ(minimumAt(y, 2), 50.0f);
}

INSTANTIATE_TEST_SUITE_P(Cases, LeapSeasonYears,
                         ::testing::Values(LeapCase{"LeapYearLastWindow", 99, 360, true},
                                           LeapCase{"LeapYearPastLastWindow", 99, 361, false},
                                           LeapCase{"CommonYearLastWindow", 100, 359, true},
                                           LeapCase{"CommonYearPastLastWindow", 100, 360, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct SeasonCase {
    const char* name;
    bool nwis;  // the series starts on the season start day, else on the 1st of its month
    int index;  // x index of a low value in the first season-year
    bool counted;
};

class SeasonPositions : public ::testing::TestWithParam<SeasonCase> {};

// Season 15 Jul - 30 Sep: positions 15 to 92 counted from 1 Jul.
TEST_P(SeasonPositions, FollowTheCalendarDatesForBothFileKinds) {
    const SeasonCase& c = GetParam();
    test::TestSeries s = averagedSeries(100, 7, c.nwis ? 15 : 1, 3 * 365);
    s.calendar.startDay = 15;
    s.calendar.endMonth = 9;
    s.calendar.endDay = 30;
    s.calendar.startPosition = 15;
    s.calendar.endPosition = 92;
    s.calendar.startsOnSeasonStart = c.nwis;
    SearchParameters p;
    p.averagingDays = 1;
    s.day(c.index) = 1;
    const AnnualMinima y = annualMinima(s.days, s.calendar, p.averagingDays);
    ASSERT_EQ(y.count(), 3);
    EXPECT_EQ(minimumAt(y, 1), c.counted ? 1.0f : 50.0f);
}

INSTANTIATE_TEST_SUITE_P(Cases, SeasonPositions,
                         ::testing::Values(SeasonCase{"NwisSeasonStart", true, 1, true},
                                           SeasonCase{"NwisSeasonEnd", true, 78, true},
                                           SeasonCase{"NwisAfterSeason", true, 79, false},
                                           SeasonCase{"OldBeforeSeason", false, 14, false},
                                           SeasonCase{"OldSeasonStart", false, 15, true},
                                           SeasonCase{"OldSeasonEnd", false, 92, true},
                                           SeasonCase{"OldAfterSeason", false, 93, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AnnualMinima, UnknownWindowSpoilsOnlyASeasonYearWhoseSeasonHoldsIt) {
    // Season 1 Apr - 30 Sep (positions 1 to 183) of season-years starting 1 Apr.
    test::TestSeries s = averagedSeries(101, 4, 1, 3 * 365);
    s.calendar.endMonth = 9;
    s.calendar.endDay = 30;
    s.calendar.startPosition = 1;
    s.calendar.endPosition = 183;
    SearchParameters p;
    p.averagingDays = 7;
    s.day(100) = unknown;        // inside the first season
    s.day(365 + 200) = unknown;  // December of the second season-year
    s.day(365 + 10) = 3;
    const AnnualMinima y = annualMinima(s.days, s.calendar, p.averagingDays);
    ASSERT_EQ(y.count(), 2);
    EXPECT_EQ(minimumAt(y, 1), 3.0f);  // the second season-year, first in the list
    EXPECT_EQ(y.yearIndex[0], 102);
    EXPECT_EQ(minimumAt(y, 2), 50.0f);
}

TEST(AnnualMinima, ShortLastSeasonYearIsClosedToo) {
    test::TestSeries s = averagedSeries(101, 4, 1, 365 + 40);
    climaticYear(s);
    SearchParameters p;
    p.averagingDays = 1;
    s.day(365 + 30) = 2;
    const AnnualMinima y = annualMinima(s.days, s.calendar, p.averagingDays);
    ASSERT_EQ(y.count(), 2);
    EXPECT_EQ(minimumAt(y, 2), 2.0f);
}

TEST(AnnualMinima, MinimaAreKeptAsFloat) {
    test::TestSeries s = averagedSeries(101, 4, 1, 2 * 365);
    climaticYear(s);
    SearchParameters p;
    p.averagingDays = 1;
    s.day(10) = 0.1;
    const AnnualMinima y = annualMinima(s.days, s.calendar, p.averagingDays);
    EXPECT_EQ(minimumAt(y, 1), 0.1f);
}

TEST(AnnualMinima, EachMinimumKeepsTheYearItsSeasonStartsIn) {
    test::TestSeries s = averagedSeries(101, 4, 1, 2 * 365);
    climaticYear(s);
    SearchParameters p;
    p.averagingDays = 1;
    s.day(20) = 4;
    const AnnualMinima y = annualMinima(s.days, s.calendar, p.averagingDays);
    EXPECT_EQ(y.yearIndex, (std::vector<int>{101, 102}));
    EXPECT_EQ(y.flows, (std::vector<float>{4.0f, 50.0f}));
}

}  // namespace
}  // namespace vd
