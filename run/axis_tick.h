// A labelled place on a chart axis, in the axis's own units (a log axis counts in powers
// of ten, a date axis in milliseconds since 1970).
#pragma once

#include <string>

namespace vd::run {

struct AxisTick {
    double position = 0;
    std::string label;

    friend bool operator==(const AxisTick&, const AxisTick&) = default;
};

}  // namespace vd::run
