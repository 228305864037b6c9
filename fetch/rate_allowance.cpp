#include "rate_allowance.h"

#include <thread>

namespace vd::fetch {

void RateAllowance::waitForRoom(const RetryPolicy& policy) {
    if (!remaining_ || *remaining_ > 0) return;
    if (policy.sleep)
        policy.sleep(pauseWhenSpent_);
    else
        std::this_thread::sleep_for(pauseWhenSpent_);
    paused_ += pauseWhenSpent_;
    // The next answer says whether the allowance is renewed; until then, one more is asked.
    remaining_.reset();
}

void RateAllowance::note(const HttpResponse& answer) {
    ++requests_;
    if (answer.rateLimit) limit_ = answer.rateLimit;
    if (answer.rateRemaining) remaining_ = answer.rateRemaining;
}

}  // namespace vd::fetch
