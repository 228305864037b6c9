// The parameters of one design-flow search, which the statistics take as an argument.
#pragma once

namespace vd {

inline constexpr int biologicalMode = 1;
inline constexpr int hydrologicalMode = 2;

struct SearchParameters {
    int averagingDays = 0;            // length of the averaging window in days
    double yearsBetween = 0;          // return period, or years per allowed excursion
    double clusterDays = 0;           // days a cluster of excursion periods spans
    double excursionsPerCluster = 0;  // most excursions a cluster counts
    int mode = biologicalMode;        // 1 biological (harmonic averages), 2 hydrological
    // Biological mode: count only the averages whose window lies inside the season, and allow
    // one excursion per yearsBetween season-years instead of per yearsBetween years of the
    // whole record.
    bool withinSeason = false;
};

}  // namespace vd
