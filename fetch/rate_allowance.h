// The service's hourly allowance of requests, as its answers tell it: when nothing is left,
// the fetching pauses before asking again rather than be refused.
#pragma once

#include <chrono>
#include <optional>

#include "http_client.h"
#include "retrying_get.h"

namespace vd::fetch {

class RateAllowance {
  public:
    // `pauseWhenSpent`: the wait before the next request once the allowance is spent (the
    // service says when it is renewed only by refusing, with Retry-After).
    explicit RateAllowance(std::chrono::milliseconds pauseWhenSpent = std::chrono::minutes(1))
        : pauseWhenSpent_(pauseWhenSpent) {}

    // Before a request: pauses, through the policy's sleep, while the allowance is spent.
    void waitForRoom(const RetryPolicy& policy);
    // After an answer: what it says is left.
    void note(const HttpResponse& answer);

    int requests() const { return requests_; }
    std::optional<long> limit() const { return limit_; }
    std::optional<long> remaining() const { return remaining_; }
    std::chrono::milliseconds paused() const { return paused_; }

  private:
    std::chrono::milliseconds pauseWhenSpent_;
    int requests_ = 0;
    std::optional<long> limit_;
    std::optional<long> remaining_;
    std::chrono::milliseconds paused_{0};
};

}  // namespace vd::fetch
