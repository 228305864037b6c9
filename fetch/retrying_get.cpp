#include "retrying_get.h"

#include <algorithm>
#include <thread>

#include "errors.h"
#include "rate_allowance.h"

namespace vd::fetch {
namespace {

bool isBusy(long status) {
    return status == 429 || (status >= 500 && status <= 599);
}

bool isRedirect(const HttpResponse& r) {
    return r.status >= 300 && r.status <= 399 && !r.location.empty();
}

void pause(const RetryPolicy& policy, std::chrono::milliseconds wait) {
    if (policy.sleep)
        policy.sleep(wait);
    else
        std::this_thread::sleep_for(wait);
}

// One request with its redirects, each target checked before it is asked.
HttpResponse getFollowingRedirects(const HttpClient& http, const std::string& url,
                                   const std::vector<std::string>& headers,
                                   const ServiceOrigin& service, const RetryPolicy& policy,
                                   RateAllowance* allowance) {
    std::string at = url;
    for (int hop = 0;; ++hop) {
        if (allowance) allowance->waitForRoom(policy);
        HttpResponse r = http.get(at, headers);
        if (allowance) allowance->note(r);
        if (!isRedirect(r)) return r;
        if (hop >= kMostRedirects)
            throw Error(ErrorCode::fetch, "The service redirected " + url + " more than " +
                                              std::to_string(kMostRedirects) + " times");
        at = service.checkedLink(r.location, at, "redirect");
    }
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
                           const std::vector<std::string>& headers, const RetryPolicy& policy,
                           const ServiceOrigin& service, RateAllowance* allowance) {
    for (int attempt = 1;; ++attempt) {
        HttpResponse r;
        try {
            r = getFollowingRedirects(http, url, headers, service, policy, allowance);
        } catch (const Error& stalled) {
            if (stalled.code() != ErrorCode::fetchStalled) throw;
            if (attempt >= policy.attempts)
                throw Error(ErrorCode::fetch, std::string(stalled.what()) + " (" +
                                                  std::to_string(attempt) + " attempts)");
            pause(policy, waitBeforeRetry(policy, attempt, {}));
            continue;
        }
        if (r.status >= 200 && r.status <= 299) return std::move(r.body);
        if (!isBusy(r.status) || attempt >= policy.attempts) {
            const std::string after =
                isBusy(r.status) ? " after " + std::to_string(attempt) + " attempts" : "";
            throw Error(ErrorCode::fetch, "The service answered HTTP " + std::to_string(r.status) +
                                              after + " for " + url);
        }
        pause(policy, waitBeforeRetry(policy, attempt, r));
    }
}

}  // namespace vd::fetch
