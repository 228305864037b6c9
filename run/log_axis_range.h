// The range a log flow axis shows: whole powers of ten around the flows drawn, so that
// the axis is labelled at round numbers. The axis counts in powers of ten; a flow of zero,
// which has no place on it, is drawn at its floor.
#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

namespace vd::run {

struct LogAxisRange {
    double low = 1;
    double high = 10;

    // Where `flow` lies on the axis: its power of ten, the floor's for zero.
    double position(double flow) const { return std::log10(flow > 0 ? flow : low); }
    double lowPosition() const { return std::log10(low); }
    double highPosition() const { return std::log10(high); }
};

// Widens itself to take in positive flows; the others have no place on a log axis.
class LogAxisRangeBuilder {
  public:
    void take(double flow) {
        if (!(flow > 0) || !std::isfinite(flow)) return;
        smallest_ = std::min(smallest_, flow);
        largest_ = std::max(largest_, flow);
    }

    // 1 to 10 when no flow was taken; at least one decade.
    LogAxisRange range() const {
        if (smallest_ > largest_) return {};
        const double low = std::pow(10.0, std::floor(std::log10(smallest_)));
        const double high = std::pow(10.0, std::ceil(std::log10(largest_)));
        return {low, high > low ? high : low * 10};
    }

  private:
    double smallest_ = std::numeric_limits<double>::infinity();
    double largest_ = 0;
};

}  // namespace vd::run
