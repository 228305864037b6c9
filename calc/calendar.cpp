#include "calendar.h"

namespace vd {
namespace {

constexpr int kDaysByMonth[2][12] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335},
};

using YearTable = RangeArray<int, minYearIndex, maxYearIndex>;

YearTable buildDaysByYear() {
    YearTable t;
    t[0] = 0;
    for (int yi = 1; yi <= maxYearIndex; ++yi)
        t[yi] = t[yi - 1] + 365 + ((yi % 4 == 1 && yi > 1) ? 1 : 0);
    for (int yi = -1; yi >= minYearIndex; --yi) t[yi] = t[yi + 1] - 365 - (yi % 4 == 0 ? 1 : 0);
    return t;
}

const YearTable& daysByYearTable() {
    static const YearTable table = buildDaysByYear();
    return table;
}

}  // namespace

int DaysInMonth(bool leap, int month) {
    return month == 12 ? 31 : DaysByMonth(leap, month + 1) - DaysByMonth(leap, month);
}

int DaysByMonth(bool leap, int month) {
    if (month < 1 || month > 12) throw RangeError();
    return kDaysByMonth[leap ? 1 : 0][month - 1];
}

int DaysByYear(int yi) {
    return daysByYearTable()[yi];
}

int DayNumber(int yi, int month, int day) {
    return DaysByYear(yi) + DaysByMonth(IsLeap(yi), month) + day;
}

CalendarDate DateOfDayNumber(int dayNumber) {
    int yi = minYearIndex;
    while (yi < maxYearIndex && DaysByYear(yi + 1) < dayNumber) ++yi;
    const bool leap = IsLeap(yi);
    const int dayOfYear = dayNumber - DaysByYear(yi);
    int month = 12;
    while (month > 1 && DaysByMonth(leap, month) >= dayOfYear) --month;
    return {yi + 1900, month, dayOfYear - DaysByMonth(leap, month)};
}

}  // namespace vd
