// The 13 recurrence intervals of LGPST2; entry 6 is the caller's.
#pragma once

#include <array>

namespace lpiii {

inline constexpr int intervalCount = 13;
inline constexpr int requestedEntry = 6;  // 1-based

std::array<double, intervalCount> recurrenceIntervals(double requested);

}  // namespace lpiii
