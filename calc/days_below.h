// The days of an averaged series whose value is known and below a flow, in day order.
// A search that only lowers its upper flow counts excursions over these few days instead
// of the whole series: the days, their order and so the count stay the same.
#pragma once

#include <span>
#include <vector>

namespace vd {

class DaysBelow {
  public:
    // The days below `flow` of the averages (day n at averages[n - 1]), found by one pass.
    void reset(std::span<const double> averages, double flow);

    // The kept days below `flow`, for a flow not above the bound: a subset of the kept days.
    // False (and nothing found) when the flow is above the bound or unordered with it.
    bool covers(double flow) const { return flow <= bound_; }
    std::span<const int> below(std::span<const double> averages, double flow);

    // Keeps the days last found by below(flow) as the days below that flow.
    void narrowTo(double flow);

    std::span<const int> days() const { return days_; }

  private:
    std::vector<int> days_;
    std::vector<int> found_;
    double bound_ = 0;
    double foundFor_ = 0;
};

}  // namespace vd
