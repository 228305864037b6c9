#include "season_windows.h"

#include <algorithm>

#include "calendar.h"
#include "errors.h"

namespace vd {

namespace {

// The season-year that starts in month m1 of year index yi holds 29 February.
bool seasonYearHoldsLeapDay(int m1, int yi) {
    return m1 < 3 ? IsLeap(yi) : IsLeap(yi + 1);
}

// The season runs across the end of February, so a leap day moves its end one position.
bool seasonRunsOverFebruaryEnd(const CalcState& s) {
    return s.m2 >= 3 && (s.m1 <= 2 || s.m2 < s.m1 || (s.m2 == s.m1 && s.d2 < s.d1));
}

}  // namespace

std::vector<SeasonWindowRange> SeasonWindows(const CalcState& s, int M) {
    // Season positions count from the 1st of m1; an NWIS series begins on d1 instead.
    const int shift = s.nwis ? s.d1 - 1 : 0;
    const int sday = s.sday - shift;
    const int eday = s.eday - shift;
    const bool leapseason = seasonRunsOverFebruaryEnd(s);
    std::vector<SeasonWindowRange> years;
    // Positions 1..NDY of the season-year from j0, of which the windows in the season are
    // sday..EDAY2 - M + 1 (and within the year).
    const int last = s.JD2 - s.JD1 + 1 - M;
    int NYC = s.J1;
    for (int j0 = 1; j0 <= last; ++NYC) {
        const bool leapYear = seasonYearHoldsLeapDay(s.m1, NYC);
        const int NDY = leapYear ? 366 : 365;
        const int EDAY2 = leapseason && leapYear ? eday + 1 : eday;
        const int yearLast = std::min(j0 + NDY - 1, last);
        years.push_back(
            {NYC, j0 + std::max(sday, 1) - 1, std::min(j0 + std::min(EDAY2, NDY) - M, yearLast)});
        j0 = yearLast + 1;
    }
    return years;
}

void KeepSeasonWindows(CalcState& s, int M) {
    const int lastDay = s.JD2 - s.JD1;
    if (lastDay > maxdays) throw Error(ErrorCode::range);
    int next = 1;  // the first day not yet looked at
    const auto clearUpTo = [&](int day) {
        for (; next <= std::min(day, lastDay); ++next) s.x[next] = unknown;
    };
    for (const SeasonWindowRange& r : SeasonWindows(s, M)) {
        if (r.size() == 0) continue;
        clearUpTo(r.first - 1);
        next = std::max(next, r.last + 1);
    }
    clearUpTo(lastDay);
}

int SeasonYearCount(const CalcState& s) {
    const std::vector<SeasonWindowRange> years = SeasonWindows(s, 1);
    return static_cast<int>(std::count_if(years.begin(), years.end(),
                                          [](const SeasonWindowRange& r) { return r.size() > 0; }));
}

}  // namespace vd
