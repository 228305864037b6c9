// The x-day windows of a daily series that lie wholly inside the season, season-year by
// season-year: the windows the annual minima look at, and the only ones a computation within
// the season counts.
#pragma once

#include <span>
#include <vector>

namespace vd {

// Where a daily series lies in the season calendar.
struct SeasonCalendar {
    int startMonth = 4;  // the season's first day
    int startDay = 1;
    int endMonth = 3;  // the season's last day
    int endDay = 31;
    // The season's first and last positions in the season-year, counted from the 1st of
    // the start month.
    int startPosition = 1;
    int endPosition = 365;
    int firstYear = 0;  // year index (year - 1900) the series' first season-year starts in
    // Day 1 of the series is the season's first day (an NWIS file); an old flow file's
    // series starts on the 1st of the start month instead.
    bool startsOnSeasonStart = true;
};

// The window starts first..last of one season-year (none when last < first); yearIndex is
// the year the season-year starts in.
struct SeasonWindowRange {
    int yearIndex = 0;
    int first = 1;
    int last = 0;
    int size() const { return last < first ? 0 : last - first + 1; }
};

// Every season-year of days 1..dayCount in order, with the starts of its `windowDays`-day
// windows inside the season (and inside the season-year); the last season-year ends with
// the last window.
std::vector<SeasonWindowRange> seasonWindows(const SeasonCalendar& calendar, int dayCount,
                                             int windowDays);

// Sets every average whose window is not wholly inside the season to unknown, so that the
// excursions counted on the averages are those of the season alone.
void keepSeasonWindows(std::span<double> averages, const SeasonCalendar& calendar, int windowDays);

// The season-years of days 1..dayCount with at least one day inside the season.
int seasonYearCount(const SeasonCalendar& calendar, int dayCount);

}  // namespace vd
