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

// Days in the year before the first day of each month, [leap][month 1..12].
int DaysByMonth(bool leap, int month);

// Days in month 1..12.
int DaysInMonth(bool leap, int month);

// Days from 1 January 1900 to 1 January of year index yi.
int DaysByYear(int yi);

// Day number of (year index, month, day); the day is not checked against the month.
int DayNumber(int yi, int month, int day);

struct CalendarDate {
    int year;  // calendar year, e.g. 1975
    int month;
    int day;
};

// The calendar date of a day number, within the covered years.
CalendarDate DateOfDayNumber(int dayNumber);

}  // namespace vd
