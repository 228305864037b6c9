#include "season_windows.h"

#include <algorithm>

#include "calendar.h"
#include "flow_values.h"

namespace vd {

namespace {

// The season-year that starts in month `startMonth` of year index yi holds 29 February.
bool seasonYearHoldsLeapDay(int startMonth, int yi) {
    return startMonth < 3 ? IsLeap(yi) : IsLeap(yi + 1);
}

// The season runs across the end of February, so a leap day moves its end one position.
bool seasonRunsOverFebruaryEnd(const SeasonCalendar& c) {
    return c.endMonth >= 3 && (c.startMonth <= 2 || c.endMonth < c.startMonth ||
                               (c.endMonth == c.startMonth && c.endDay < c.startDay));
}

}  // namespace

std::vector<SeasonWindowRange> seasonWindows(const SeasonCalendar& c, int dayCount,
                                             int windowDays) {
    // Season positions count from the 1st of the start month; an NWIS series begins on the
    // season's first day instead.
    const int shift = c.startsOnSeasonStart ? c.startDay - 1 : 0;
    const int first = c.startPosition - shift;
    const int end = c.endPosition - shift;
    const bool leapSeason = seasonRunsOverFebruaryEnd(c);
    std::vector<SeasonWindowRange> years;
    // Positions 1..yearDays of the season-year from `start`, of which the windows in the
    // season are first..seasonEnd - windowDays + 1 (and within the year).
    const int lastStart = dayCount + 1 - windowDays;
    int year = c.firstYear;
    for (int start = 1; start <= lastStart; ++year) {
        const bool leapYear = seasonYearHoldsLeapDay(c.startMonth, year);
        const int yearDays = leapYear ? 366 : 365;
        const int seasonEnd = leapSeason && leapYear ? end + 1 : end;
        const int yearLast = std::min(start + yearDays - 1, lastStart);
        years.push_back({year, start + std::max(first, 1) - 1,
                         std::min(start + std::min(seasonEnd, yearDays) - windowDays, yearLast)});
        start = yearLast + 1;
    }
    return years;
}

void keepSeasonWindows(std::span<double> averages, const SeasonCalendar& calendar, int windowDays) {
    const int lastDay = static_cast<int>(averages.size());
    int next = 1;  // the first day not yet looked at
    const auto clearUpTo = [&](int day) {
        for (; next <= std::min(day, lastDay); ++next)
            averages[static_cast<std::size_t>(next - 1)] = unknown;
    };
    for (const SeasonWindowRange& r : seasonWindows(calendar, lastDay, windowDays)) {
        if (r.size() == 0) continue;
        clearUpTo(r.first - 1);
        next = std::max(next, r.last + 1);
    }
    clearUpTo(lastDay);
}

int seasonYearCount(const SeasonCalendar& calendar, int dayCount) {
    const std::vector<SeasonWindowRange> years = seasonWindows(calendar, dayCount, 1);
    return static_cast<int>(std::count_if(years.begin(), years.end(),
                                          [](const SeasonWindowRange& r) { return r.size() > 0; }));
}

}  // namespace vd
