#include <gtest/gtest.h>

#include "../common/error_assertions.h"
#include "calendar_date.h"
#include "vd_calc.h"

using namespace vd;

TEST(Calendar, LeapRuleIgnoresCenturies) {
    EXPECT_FALSE(IsLeap(0));   // 1900
    EXPECT_TRUE(IsLeap(100));  // 2000
    EXPECT_TRUE(IsLeap(-4));   // 1896
    EXPECT_FALSE(IsLeap(1));
    EXPECT_TRUE(IsLeap(200));  // 2100 is a leap year in this calendar
}

TEST(Calendar, DaysByYearAtTableEdges) {
    const struct {
        int yi;
        int days;
    } cases[] = {{0, 0},       {1, 365},     {4, 1460},  {5, 1826},   {100, 36524},
                 {101, 36890}, {200, 73049}, {-1, -365}, {-4, -1461}, {-50, -18262}};
    for (const auto& c : cases) EXPECT_EQ(DaysByYear(c.yi), c.days) << "year index " << c.yi;
}

TEST(Calendar, DayNumbers) {
    const struct {
        int yi, m, d, day;
    } cases[] = {
        {0, 1, 1, 1},
        {-1, 12, 31, 0},
        {0, 2, 28, 59},
        {0, 3, 1, 60},
        {100, 2, 29, 36584},
        {100, 4, 1, 36616},
        {101, 3, 31, 36980},
        {75, 4, 16, 27499},
        {0, 4, 31, DayNumber(0, 5, 1)},  // day 31 of a 30-day month is the next month's first
    };
    for (const auto& c : cases)
        EXPECT_EQ(DayNumber(c.yi, c.m, c.d), c.day) << c.yi << "-" << c.m << "-" << c.d;
}

TEST(Calendar, DateOfDayNumberInvertsDayNumber) {
    for (int day : {1, 59, 60, 365, 366, 27499, 36584, 36616, -18261, 73049 + 365}) {
        const CalendarDate date = DateOfDayNumber(day);
        EXPECT_EQ(DayNumber(date.year - 1900, date.month, date.day), day) << day;
    }
    const CalendarDate apr16 = DateOfDayNumber(27499);
    EXPECT_EQ(apr16.year, 1975);
    EXPECT_EQ(apr16.month, 4);
    EXPECT_EQ(apr16.day, 16);
}

TEST(Calendar, OutOfRangeIndexesThrow) {
    EXPECT_ERROR_CODE(DaysByYear(201), ErrorCode::range);
    EXPECT_ERROR_CODE(DaysByYear(-51), ErrorCode::range);
    EXPECT_ERROR_CODE(DayNumber(10, 13, 1), ErrorCode::range);
    EXPECT_ERROR_CODE(DayNumber(10, 0, 1), ErrorCode::range);
}

TEST(SeasonDate, NormalisesTheAcceptedForms) {
    const struct {
        const char* in;
        const char* out;
        int month, day;
    } cases[] = {
        {"4/1", "Apr 1", 4, 1},         {"04-01", "Apr 1", 4, 1},
        {"4 1", "Apr 1", 4, 1},         {"Apr 1", "Apr 1", 4, 1},
        {"april 1", "Apr 1", 4, 1},     {"ap1", "Apr 1", 4, 1},
        {"4", "Apr 1", 4, 1},           {"jan", "Jan 1", 1, 1},
        {"Dec 25", "Dec 25", 12, 25},   {"December 25", "Dec 25", 12, 25},
        {"2/29", "Feb 28", 2, 28},      {"Feb 30", "Feb 28", 2, 28},
        {"4/31", "Apr 30", 4, 30},      {"12/45", "Dec 31", 12, 31},
        {"Mar 31", "Mar 31", 3, 31},    {"s 15", "Sep 15", 9, 15},
        {"10/15/99", "Oct 15", 10, 15},
    };
    for (const auto& c : cases) {
        const SeasonDate d = parseSeasonDate(c.in);
        EXPECT_EQ(d.text, c.out) << c.in;
        EXPECT_EQ(d.month, c.month) << c.in;
        EXPECT_EQ(d.day, c.day) << c.in;
    }
}

TEST(SeasonDate, RejectsWhatIsNoDate) {
    for (const char* in : {"Ju 4", "M 5", "13/1", "0/5", "4/0", " Apr 1", "", "xyz",
                           "99999999999/1", "4/99999999999", "-4/1"}) {
        const SeasonDate d = parseSeasonDate(in);
        EXPECT_EQ(d.text, "") << in;
        EXPECT_FALSE(d.valid()) << in;
    }
    const SeasonDate empty = parseSeasonDate("");
    EXPECT_EQ(empty.month, 0);
    EXPECT_EQ(empty.day, 0);
}

TEST(SeasonDate, TypedDateRefusesADayPastTheMonthsEnd) {
    const struct {
        const char* in;
        const char* out;  // empty: refused
    } cases[] = {
        {"6/31", ""},       {"Feb 29", ""},       {"4/31", ""},     {"12/45", ""},
        {"6/30", "Jun 30"}, {"Feb 28", "Feb 28"}, {"4/1", "Apr 1"}, {"Dec 31", "Dec 31"},
        {"xyz", ""},        {"jan", "Jan 1"},
    };
    for (const auto& c : cases) EXPECT_EQ(typedSeasonDate(c.in).text, c.out) << c.in;
}

TEST(IsoDate, ExistingDaysOnlyInTheRealCalendar) {
    const struct {
        const char* text;
        bool exists;
    } cases[] = {
        {"2010-01-31", true},   {"2012-02-29", true},  {"2000-02-29", true},  {"2011-02-29", false},
        {"1900-02-29", false},  {"2010-13-01", false}, {"2010-00-10", false}, {"2010-04-31", false},
        {"2010-04-00", false},  {"2010-4-1", false},   {"2010/04/01", false}, {"20100401", false},
        {"2010-04-01x", false}, {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isoDate(c.text).has_value(), c.exists) << c.text;
    EXPECT_EQ(*isoDate("2012-02-29"), (IsoDate{2012, 2, 29}));
    EXPECT_LT(*isoDate("2011-12-31"), *isoDate("2012-01-01"));
}

TEST(SeasonDate, DayBeforeTheStartEndsAFullClimaticYear) {
    const struct {
        const char* start;
        const char* end;
    } cases[] = {{"Apr 1", "Mar 31"},  {"jan", "Dec 31"},    {"3/1", "Feb 28"},
                 {"Oct 15", "Oct 14"}, {"Feb 29", "Feb 27"}, {"13/1", ""}};
    for (const auto& c : cases) EXPECT_EQ(dayBeforeSeasonStart(c.start), c.end) << c.start;
}
