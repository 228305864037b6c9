// One HTTP GET at a time over libcurl, within bounds no real answer comes near.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "errors.h"

namespace vd::fetch {

struct TransferLimits {
    // Slower than this many bytes a second for `lowSpeedTime` ends the request.
    long lowSpeedBytesPerSecond = 1;
    std::chrono::seconds lowSpeedTime{30};
    std::chrono::seconds totalTime{600};  // one request (each redirect is one more)
    std::chrono::seconds connectTime{30};
    std::size_t largestAnswer = std::size_t{256} << 20;  // decoded bytes of one answer
};

struct HttpResponse {
    long status = 0;
    std::string body;
    std::optional<long> retryAfterSeconds;  // a Retry-After header given in seconds
    // The service's hourly allowance of requests and what is left of it (X-RateLimit-*).
    std::optional<long> rateLimit;
    std::optional<long> rateRemaining;
    std::string location;  // where a redirect points, as libcurl resolved it
};

class HttpClient {
  public:
    // `cancelled` is asked while a transfer runs; true stops it with a fetchCancelled error.
    explicit HttpClient(std::function<bool()> cancelled = {}, TransferLimits limits = {});
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // The response whatever its status; redirects are not followed (their target is in
    // `location`), and nothing but http and https is ever connected to. Throws
    // fetchStalled errors for an answer that stopped coming (slower than the low-speed
    // limit: worth asking again), fetch errors when no whole response arrives within the
    // limits (no connection, a body cut short, too large or too slow) and fetchCancelled
    // errors when stopped.
    HttpResponse get(const std::string& url, const std::vector<std::string>& headers) const;

  private:
    std::unique_ptr<void, void (*)(void*)> curl_;
    std::function<bool()> cancelled_;
    TransferLimits limits_;
};

}  // namespace vd::fetch
