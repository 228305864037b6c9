// One HTTP GET at a time over libcurl.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vd::fetch {

struct HttpResponse {
    long status = 0;
    std::string body;
    std::optional<long> retryAfterSeconds;  // a Retry-After header given in seconds
};

class HttpClient {
  public:
    // `cancelled` is asked while a transfer runs; true stops it with FetchCancelled.
    explicit HttpClient(std::function<bool()> cancelled = {});
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // The response whatever its status. Throws FetchError when no whole response arrives
    // (no connection, a body cut short) and FetchCancelled when stopped.
    HttpResponse get(const std::string& url, const std::vector<std::string>& headers) const;

  private:
    std::unique_ptr<void, void (*)(void*)> curl_;
    std::function<bool()> cancelled_;
};

}  // namespace vd::fetch
