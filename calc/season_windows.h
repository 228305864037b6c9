// The x-day windows of the loaded series that lie wholly inside the season, season-year by
// season-year: the windows the annual minima look at, and the only ones a computation within
// the season counts.
#pragma once

#include <vector>

#include "calc_state.h"

namespace vd {

// The window starts first..last of one season-year (none when last < first); yearIndex is
// the year the season-year starts in.
struct SeasonWindowRange {
    int yearIndex = 0;
    int first = 1;
    int last = 0;
    int size() const { return last < first ? 0 : last - first + 1; }
};

// Every season-year of x[1..JD2-JD1] in order, with the starts of its M-day windows inside
// the season (and inside the season-year); the last season-year ends with the last window.
std::vector<SeasonWindowRange> SeasonWindows(const CalcState& s, int M);

// Sets every M-day average of x whose window is not wholly inside the season to unknown, so
// that the excursions counted on x are those of the season alone.
void KeepSeasonWindows(CalcState& s, int M);

// The season-years with at least one day inside the season.
int SeasonYearCount(const CalcState& s);

}  // namespace vd
