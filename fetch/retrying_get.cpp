#include "retrying_get.h"

#include <algorithm>
#include <thread>

#include "fetch_error.h"

namespace vd::fetch {
namespace {

bool isBusy(long status) {
    return status == 429 || (status >= 500 && status <= 599);
}

}  // namespace

std::chrono::milliseconds waitBeforeRetry(const RetryPolicy& policy, int attempt,
                                          const HttpResponse& busy) {
    std::chrono::milliseconds wait = policy.firstWait * (1LL << std::min(attempt - 1, 20));
    if (busy.retryAfterSeconds)
        wait = std::max(wait,
                        std::chrono::milliseconds(std::chrono::seconds(*busy.retryAfterSeconds)));
    return std::min(wait, policy.longestWait);
}

std::string getWithRetries(const HttpClient& http, const std::string& url,
                           const std::vector<std::string>& headers, const RetryPolicy& policy) {
    for (int attempt = 1;; ++attempt) {
        HttpResponse r = http.get(url, headers);
        if (r.status >= 200 && r.status <= 299) return std::move(r.body);
        if (!isBusy(r.status) || attempt >= policy.attempts) {
            const std::string after =
                isBusy(r.status) ? " after " + std::to_string(attempt) + " attempts" : "";
            throw FetchError("The service answered HTTP " + std::to_string(r.status) + after +
                             " for " + url);
        }
        const std::chrono::milliseconds wait = waitBeforeRetry(policy, attempt, r);
        if (policy.sleep)
            policy.sleep(wait);
        else
            std::this_thread::sleep_for(wait);
    }
}

}  // namespace vd::fetch
