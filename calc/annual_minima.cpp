#include "season_windows.h"
#include "statistics.h"

namespace vd {

namespace {

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
    y.fill(0.0f);
    MinimaCollector minima(s, y);
    // One unknown window spoils the whole season-year.
    for (const SeasonWindowRange& r : SeasonWindows(s, p.averagingDays)) {
        double lowest = huge;
        for (int j = r.first; j <= r.last; ++j) {
            const double v = s.x[j];
            if (v == unknown) {
                lowest = unknown;
                break;
            }
            if (v < lowest) lowest = v;
        }
        minima.close(r.yearIndex, lowest);
    }
    return minima.count();
}

}  // namespace vd
