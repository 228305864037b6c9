#include "http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <limits>
#include <memory>
#include <mutex>
#include <string_view>

namespace vd::fetch {
namespace {

void initialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// The body as it arrives, decoded; a body growing past the limit stops the transfer, so a
// compressed bomb never takes more memory than the limit.
struct BoundedBody {
    std::string* text = nullptr;
    std::size_t largest = 0;
    bool tooLarge = false;
};

std::size_t appendBody(char* data, std::size_t size, std::size_t count, void* target) {
    auto& body = *static_cast<BoundedBody*>(target);
    const std::size_t n = size * count;
    if (n > body.largest - std::min(body.largest, body.text->size())) {
        body.tooLarge = true;
        return 0;  // libcurl ends the transfer with a write error
    }
    const std::size_t needed = body.text->size() + n;
    if (needed > body.text->capacity())
        body.text->reserve(std::min(body.largest, std::max(needed, 2 * body.text->capacity())));
    body.text->append(data, n);
    return n;
}

// The whole number after `name` (lower case, with its colon) when the header line is that
// header.
std::optional<long> headerNumber(std::string_view line, std::string_view name) {
    if (line.size() <= name.size()) return std::nullopt;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(line[i])) != name[i]) return std::nullopt;
    const std::string value(line.substr(name.size()));
    char* end = nullptr;
    const long number = std::strtol(value.c_str(), &end, 10);
    if (end == value.c_str() || number < 0) return std::nullopt;
    return number;
}

std::size_t readHeader(char* data, std::size_t size, std::size_t count, void* target) {
    const std::string_view line(data, size * count);
    auto& response = *static_cast<HttpResponse*>(target);
    if (auto n = headerNumber(line, "retry-after:")) response.retryAfterSeconds = n;
    if (auto n = headerNumber(line, "x-ratelimit-limit:")) response.rateLimit = n;
    if (auto n = headerNumber(line, "x-ratelimit-remaining:")) response.rateRemaining = n;
    return size * count;
}

int askCancelled(void* cancelled, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto& ask = *static_cast<const std::function<bool()>*>(cancelled);
    return ask && ask() ? 1 : 0;
}

struct HeaderList {
    curl_slist* list = nullptr;
    ~HeaderList() { curl_slist_free_all(list); }
};

std::string sizeText(std::size_t bytes) {
    if (bytes >= (std::size_t{1} << 20) && bytes % (std::size_t{1} << 20) == 0)
        return std::to_string(bytes >> 20) + " MB";
    return std::to_string(bytes) + " bytes";
}

void setBounds(CURL* c, const TransferLimits& limits) {
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    // Redirects are followed by the caller, who checks each target's origin first.
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, static_cast<long>(limits.connectTime.count()));
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, limits.lowSpeedBytesPerSecond);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, static_cast<long>(limits.lowSpeedTime.count()));
    curl_easy_setopt(c, CURLOPT_TIMEOUT, static_cast<long>(limits.totalTime.count()));
    // An announced length beyond the limit ends the request before the body comes.
    const auto largest = std::min<unsigned long long>(
        limits.largestAnswer,
        static_cast<unsigned long long>(std::numeric_limits<curl_off_t>::max()));
    curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(largest));
}

// libcurl tells the low-speed limit from the total time only by its message.
bool wasTooSlow(const char* error) {
    return std::string_view(error).starts_with("Operation too slow");
}

}  // namespace

HttpClient::HttpClient(std::function<bool()> cancelled, TransferLimits limits)
    : curl_((initialiseCurlOnce(), curl_easy_init()), curl_easy_cleanup),
      cancelled_(std::move(cancelled)),
      limits_(limits) {
    if (!curl_) throw Error(ErrorCode::fetch, "The HTTP library could not start");
}

HttpClient::~HttpClient() = default;

HttpResponse HttpClient::get(const std::string& url,
                             const std::vector<std::string>& headers) const {
    CURL* c = curl_.get();
    curl_easy_reset(c);
    HttpResponse response;
    BoundedBody body{&response.body, limits_.largestAnswer};
    HeaderList list;
    for (const std::string& h : headers) list.list = curl_slist_append(list.list, h.c_str());
    char error[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, list.list);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, readHeader);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &response);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, askCancelled);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &cancelled_);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, "");  // whatever compression curl knows
    curl_easy_setopt(c, CURLOPT_USERAGENT, "vando3");
    setBounds(c, limits_);
    const CURLcode rc = curl_easy_perform(c);
    if (rc == CURLE_ABORTED_BY_CALLBACK) throw Error(ErrorCode::fetchCancelled);
    if (body.tooLarge || rc == CURLE_FILESIZE_EXCEEDED)
        throw Error(ErrorCode::fetch, "The answer from " + url + " is larger than " +
                                          sizeText(limits_.largestAnswer));
    if (rc == CURLE_OPERATION_TIMEDOUT) {
        if (wasTooSlow(error))
            throw Error(ErrorCode::fetchStalled, "The answer from " + url + " stalled: " + error);
        throw Error(ErrorCode::fetch, "The answer from " + url + " took longer than " +
                                          std::to_string(limits_.totalTime.count()) + " s");
    }
    if (rc == CURLE_PARTIAL_FILE)
        throw Error(ErrorCode::fetch, "The answer from " + url + " was cut short");
    if (rc != CURLE_OK)
        throw Error(ErrorCode::fetch, "No answer from " + url + ": " +
                                          (error[0] ? std::string(error) : curl_easy_strerror(rc)));
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &response.status);
    if (response.status >= 300 && response.status <= 399) {
        const char* location = nullptr;
        curl_easy_getinfo(c, CURLINFO_REDIRECT_URL, &location);
        if (location) response.location = location;
    }
    return response;
}

}  // namespace vd::fetch
