// The labels of a log flow axis: at 1, 2 and 5 within each decade where the axis is tall
// enough for them to stand apart, at the powers of ten (or every other one) where it is
// not, and at every digit when zoomed inside a decade.
#pragma once

#include <vector>

#include "axis_tick.h"

namespace vd::run {

// Labels too close together overlap: the least distance between two, in pixels.
inline constexpr double leastLabelSpacing = 18;

// Ticks within [lowPosition, highPosition] (powers of ten: 1 stands for 10 cfs) on an
// axis `pixels` long, smallest first.
std::vector<AxisTick> logAxisTicks(double lowPosition, double highPosition, double pixels);

}  // namespace vd::run
