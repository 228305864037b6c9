#include "calendar.h"

namespace vd {

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
