// The calendar of the calculator: year indexes (year - 1900) from -50 to 200 and day
// numbers counted from 1 January 1900 = day 1. Only the every-fourth-year leap rule is
// applied (1900 is not a leap year, 2000 is), as the stored records expect.
#pragma once

#include "range_array.h"

namespace vd {

inline constexpr int minYearIndex = -50;
inline constexpr int maxYearIndex = 200;

constexpr bool IsLeap(int yi) {
    return yi != 0 && yi % 4 == 0;
}

namespace calendar_detail {

inline constexpr int monthLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
inline constexpr int daysBeforeMonth[2][12] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335},
};

using YearTable = RangeArray<int, minYearIndex, maxYearIndex>;

constexpr YearTable daysBeforeYears() {
    YearTable t;
    t[0] = 0;
    for (int yi = 1; yi <= maxYearIndex; ++yi)
        t[yi] = t[yi - 1] + 365 + ((yi % 4 == 1 && yi > 1) ? 1 : 0);
    for (int yi = -1; yi >= minYearIndex; --yi) t[yi] = t[yi + 1] - 365 - (yi % 4 == 0 ? 1 : 0);
    return t;
}

// Worked out when compiling: every daily record asks for it.
inline constexpr YearTable daysBeforeYear = daysBeforeYears();

}  // namespace calendar_detail

// Days in the year before the first day of each month, [leap][month 1..12].
inline int DaysByMonth(bool leap, int month) {
    if (month < 1 || month > 12) throw Error(ErrorCode::range);
    return calendar_detail::daysBeforeMonth[leap ? 1 : 0][month - 1];
}

// Days in month 1..12; the month is the caller's to check.
constexpr int DaysInMonth(bool leap, int month) {
    return month == 2 && leap ? 29 : calendar_detail::monthLengths[month - 1];
}

// Days from 1 January 1900 to 1 January of year index yi.
inline int DaysByYear(int yi) {
    return calendar_detail::daysBeforeYear[yi];
}

// Day number of (year index, month, day); the day is not checked against the month.
inline int DayNumber(int yi, int month, int day) {
    return DaysByYear(yi) + DaysByMonth(IsLeap(yi), month) + day;
}

struct CalendarDate {
    int year;  // calendar year, e.g. 1975
    int month;
    int day;
};

// The calendar date of a day number, within the covered years.
CalendarDate DateOfDayNumber(int dayNumber);

}  // namespace vd
