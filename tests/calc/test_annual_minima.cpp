#include <gtest/gtest.h>

#include <vector>

#include "calendar.h"
#include "statistics.h"
#include "stats_fixture.h"

namespace vd {
namespace {

// An averaged series of `days` values of 50 for seasons starting m1/d1 of year index J1.
std::unique_ptr<CalcState> averagedSeries(int J1, int m1, int d1, int days) {
    auto s = test::stateWithSeries(std::vector<double>(static_cast<std::size_t>(days), 50));
    s->J1 = J1;
    s->JD1 = DayNumber(J1, m1, d1) - 1;
    s->JD2 = s->JD1 + days;
    s->m1 = m1;
    s->d1 = d1;
    return s;
}

void climaticYear(CalcState& s) {
    s.m2 = 3;
    s.d2 = 31;
    s.sday = 1;
    s.eday = 365;
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
    auto s = averagedSeries(c.J1, 4, 1, 3 * 366);
    climaticYear(*s);
    SearchParameters p;
    p.averagingDays = 7;
    s->x[c.position] = 1;
    lfarray y;
    ASSERT_GE(AnnualMinima(*s, p, y), 2);
    EXPECT_EQ(y[1], c.counted ? 1.0f : 50.0f);
    EXPECT_EQ(y[2], 50.0f);
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
    auto s = averagedSeries(100, 7, c.nwis ? 15 : 1, 3 * 365);
    s->d1 = 15;
    s->m2 = 9;
    s->d2 = 30;
    s->sday = 15;
    s->eday = 92;
    s->nwis = c.nwis;
    SearchParameters p;
    p.averagingDays = 1;
    s->x[c.index] = 1;
    lfarray y;
    ASSERT_EQ(AnnualMinima(*s, p, y), 3);
    EXPECT_EQ(y[1], c.counted ? 1.0f : 50.0f);
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
    auto s = averagedSeries(101, 4, 1, 3 * 365);
    s->m2 = 9;
    s->d2 = 30;
    s->sday = 1;
    s->eday = 183;
    SearchParameters p;
    p.averagingDays = 7;
    s->x[100] = unknown;        // inside the first season
    s->x[365 + 200] = unknown;  // December of the second season-year
    s->x[365 + 10] = 3;
    lfarray y;
    ASSERT_EQ(AnnualMinima(*s, p, y), 2);
    EXPECT_EQ(y[1], 3.0f);  // the second season-year, first in the list
    EXPECT_EQ(y[2], 50.0f);
    EXPECT_EQ(y[3], 0.0f);
}

TEST(AnnualMinima, ShortLastSeasonYearIsClosedToo) {
    auto s = averagedSeries(101, 4, 1, 365 + 40);
    climaticYear(*s);
    SearchParameters p;
    p.averagingDays = 1;
    s->x[365 + 30] = 2;
    lfarray y;
    ASSERT_EQ(AnnualMinima(*s, p, y), 2);
    EXPECT_EQ(y[2], 2.0f);
}

TEST(AnnualMinima, MinimaAreKeptAsFloat) {
    auto s = averagedSeries(101, 4, 1, 2 * 365);
    climaticYear(*s);
    SearchParameters p;
    p.averagingDays = 1;
    s->x[10] = 0.1;
    lfarray y;
    AnnualMinima(*s, p, y);
    EXPECT_EQ(y[1], 0.1f);
}

TEST(AnnualMinima, PerYearTableGetsYearsAndMinima) {
    auto s = averagedSeries(101, 4, 1, 2 * 365);
    climaticYear(*s);
    SearchParameters p;
    p.averagingDays = 1;
    s->x[20] = 4;
    s->StoreAP = true;
    s->jglobal = 3;
    advparRow(*s, 3)[1][3] = 9;  // the run's fields stay as they are
    lfarray y;
    ASSERT_EQ(AnnualMinima(*s, p, y), 2);
    const aparray& table = *s->advpar[3];
    EXPECT_EQ(table[1][1], 101.0f);
    EXPECT_EQ(table[1][2], 4.0f);
    EXPECT_EQ(table[1][3], 9.0f);
    EXPECT_EQ(table[2][1], 102.0f);
    EXPECT_EQ(table[2][2], 50.0f);
    EXPECT_EQ(table[3][1], static_cast<float>(unknown));
    EXPECT_EQ(table[250][1], static_cast<float>(unknown));
    EXPECT_EQ(table[3][2], 0.0f);
}

}  // namespace
}  // namespace vd
