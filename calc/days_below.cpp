#include "days_below.h"

#include <utility>

#include "flow_values.h"

namespace vd {

namespace {

bool isBelow(double v, double flow) {
    return v != unknown && v < flow;
}

}  // namespace

void DaysBelow::reset(std::span<const double> averages, double flow) {
    days_.clear();
    const int last = static_cast<int>(averages.size());
    for (int n = 1; n <= last; ++n)
        if (isBelow(averages[static_cast<std::size_t>(n - 1)], flow)) days_.push_back(n);
    bound_ = flow;
}

std::span<const int> DaysBelow::below(std::span<const double> averages, double flow) {
    found_.clear();
    foundFor_ = flow;
    if (!covers(flow)) return found_;
    // The kept days are days of the same averages, in range.
    for (const int n : days_)
        if (isBelow(averages[static_cast<std::size_t>(n - 1)], flow)) found_.push_back(n);
    return found_;
}

void DaysBelow::narrowTo(double flow) {
    if (flow != foundFor_ || !covers(flow)) return;
    std::swap(days_, found_);
    bound_ = flow;
}

}  // namespace vd
