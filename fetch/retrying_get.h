// A GET that rides out the service's busy moments: HTTP 429 and 5xx, and answers that
// stall, are asked again after a growing wait (or the wait the service names in
// Retry-After), a few times at most. Redirects within the service's origin are followed.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "http_client.h"
#include "service_origin.h"

namespace vd::fetch {

struct RetryPolicy {
    int attempts = 3;                                      // asks in all, the first included
    std::chrono::milliseconds firstWait{2000};             // doubled after each busy answer
    std::chrono::milliseconds longestWait{60000};          // a longer Retry-After is cut to this
    std::function<void(std::chrono::milliseconds)> sleep;  // default: the thread sleeps
};

inline constexpr int kMostRedirects = 5;

class RateAllowance;

// The body of a 2xx answer. Throws a fetch error naming the status when the service refuses,
// stays busy through every attempt, or redirects elsewhere than `service` (nothing is
// sent there). With an allowance, every request waits for room in it and every answer
// updates it.
std::string getWithRetries(const HttpClient& http, const std::string& url,
                           const std::vector<std::string>& headers, const RetryPolicy& policy,
                           const ServiceOrigin& service, RateAllowance* allowance = nullptr);

// The wait before attempt `attempt` + 1 after a busy answer.
std::chrono::milliseconds waitBeforeRetry(const RetryPolicy& policy, int attempt,
                                          const HttpResponse& busy);

}  // namespace vd::fetch
