// The values and limits the daily series and the statistics share: the marker of a missing
// day, the start of a running minimum, the search tolerance and the sizes of the tables.
#pragma once

namespace vd {

inline constexpr double unknown = -1.0e20;  // missing day or undefined value
inline constexpr double huge = 1.0e20;      // running minimum without a value yet
inline constexpr int maxdays = 40000;       // days of a series after its start, at most
inline constexpr int maxyears = 250;
inline constexpr int maxinfile = 100;
inline constexpr int maxsitelines = 1000;
inline constexpr int maxclusters = 5000;
inline constexpr int nmax = 3000;
inline constexpr int maxflows = 3000;
inline constexpr double eps = 0.005;

}  // namespace vd
