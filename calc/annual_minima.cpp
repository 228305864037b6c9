#include <algorithm>

#include "calendar.h"
#include "statistics.h"

namespace vd {

namespace {

// The season-year that starts in month m1 of year index yi holds 29 February.
bool seasonYearHasLeapDay(int m1, int yi) {
    return m1 < 3 ? IsLeap(yi) : IsLeap(yi + 1);
}

// The season runs across the end of February, so a leap day moves its end one position.
bool seasonCrossesFebruaryEnd(const CalcState& s) {
    return s.m2 >= 3 && (s.m1 <= 2 || s.m2 < s.m1 || (s.m2 == s.m1 && s.d2 < s.d1));
}

// The minima of one season-year in turn, with the per-year table when it is kept.
class MinimaCollector {
  public:
    MinimaCollector(CalcState& s, lfarray& y) : State(s), Y(y) {}

    void close(int yearIndex, double lowest) {
        if (lowest == unknown || lowest == huge) return;
        ++Count;
        Y[Count] = static_cast<float>(lowest);
        if (!State.StoreAP) return;
        aparray& table = advparRow(State, State.jglobal);
        if (Count == 1)
            for (auto& entry : table) entry[1] = static_cast<float>(unknown);
        table[Count][1] = static_cast<float>(yearIndex);
        table[Count][2] = static_cast<float>(lowest);
    }

    int count() const { return Count; }

  private:
    CalcState& State;
    lfarray& Y;
    int Count = 0;
};

}  // namespace

int AnnualMinima(CalcState& s, const SearchParameters& p, lfarray& y) {
    const int M = p.averagingDays;
    y.fill(0.0f);
    // Season positions count from the 1st of m1; an NWIS series begins on d1 instead.
    const int shift = s.nwis ? s.d1 - 1 : 0;
    const int sday = s.sday - shift;
    const int eday = s.eday - shift;
    const bool leapseason = seasonCrossesFebruaryEnd(s);

    MinimaCollector minima(s, y);
    // Season-year by season-year: positions 1..NDY of the year from j0, of which the windows
    // in the season are sday..EDAY2 - M + 1 (and within the year). One unknown window spoils
    // the whole season-year; the last season-year ends with the last window.
    const int last = s.JD2 - s.JD1 + 1 - M;
    int NYC = s.J1;
    for (int j0 = 1; j0 <= last; ++NYC) {
        const bool leapYear = seasonYearHasLeapDay(s.m1, NYC);
        const int NDY = leapYear ? 366 : 365;
        const int EDAY2 = leapseason && leapYear ? eday + 1 : eday;
        const int yearLast = std::min(j0 + NDY - 1, last);
        const int firstInSeason = j0 + std::max(sday, 1) - 1;
        const int lastInSeason = std::min(j0 + std::min(EDAY2, NDY) - M, yearLast);
        double lowest = huge;
        for (int j = firstInSeason; j <= lastInSeason; ++j) {
            const double v = s.x[j];
            if (v == unknown) {
                lowest = unknown;
                break;
            }
            if (v < lowest) lowest = v;
        }
        minima.close(NYC, lowest);
        j0 = yearLast + 1;
    }
    return minima.count();
}

}  // namespace vd
