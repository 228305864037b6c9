#include "days_below.h"

#include <utility>

namespace vd {

namespace {

bool isBelow(double v, double flow) {
    return v != unknown && v < flow;
}

}  // namespace

void DaysBelow::reset(const CalcState& s, double flow) {
    const int last = s.JD2 - s.JD1;
    if (last > maxdays) throw Error(ErrorCode::range);
    // Days 1..last, proven in range above (day n at n - 1).
    const double* const x = s.x.begin();
    days_.clear();
    for (int n = 1; n <= last; ++n)
        if (isBelow(x[n - 1], flow)) days_.push_back(n);
    bound_ = flow;
}

std::span<const int> DaysBelow::below(const CalcState& s, double flow) {
    found_.clear();
    foundFor_ = flow;
    if (!covers(flow)) return found_;
    // The kept days are 1..JD2-JD1 of the same series, in range.
    const double* const x = s.x.begin();
    for (const int n : days_)
        if (isBelow(x[n - 1], flow)) found_.push_back(n);
    return found_;
}

void DaysBelow::narrowTo(double flow) {
    if (flow != foundFor_ || !covers(flow)) return;
    std::swap(days_, found_);
    bound_ = flow;
}

}  // namespace vd
