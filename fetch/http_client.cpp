#include "http_client.h"

#include <curl/curl.h>

#include <cctype>
#include <memory>
#include <mutex>
#include <string_view>

#include "fetch_error.h"

namespace vd::fetch {
namespace {

void initialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::size_t appendBody(char* data, std::size_t size, std::size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

std::size_t readHeader(char* data, std::size_t size, std::size_t count, void* target) {
    const std::string_view line(data, size * count);
    constexpr std::string_view name = "retry-after:";
    if (line.size() > name.size()) {
        bool same = true;
        for (std::size_t i = 0; i < name.size() && same; ++i)
            same = std::tolower(static_cast<unsigned char>(line[i])) == name[i];
        if (same) {
            const std::string value(line.substr(name.size()));
            char* end = nullptr;
            const long seconds = std::strtol(value.c_str(), &end, 10);
            if (end != value.c_str() && seconds >= 0)
                static_cast<HttpResponse*>(target)->retryAfterSeconds = seconds;
        }
    }
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

}  // namespace

HttpClient::HttpClient(std::function<bool()> cancelled)
    : curl_((initialiseCurlOnce(), curl_easy_init()), curl_easy_cleanup),
      cancelled_(std::move(cancelled)) {
    if (!curl_) throw FetchError("The HTTP library could not start");
}

HttpClient::~HttpClient() = default;

HttpResponse HttpClient::get(const std::string& url,
                             const std::vector<std::string>& headers) const {
    CURL* c = curl_.get();
    curl_easy_reset(c);
    HttpResponse response;
    HeaderList list;
    for (const std::string& h : headers) list.list = curl_slist_append(list.list, h.c_str());
    char error[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, list.list);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &response.body);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, readHeader);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &response);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, askCancelled);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &cancelled_);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, "");  // whatever compression curl knows
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 30L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);  // give up on a stalled answer
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, 120L);
    curl_easy_setopt(c, CURLOPT_USERAGENT, "vando3");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    const CURLcode rc = curl_easy_perform(c);
    if (rc == CURLE_ABORTED_BY_CALLBACK) throw FetchCancelled();
    if (rc == CURLE_PARTIAL_FILE) throw FetchError("The answer from " + url + " was cut short");
    if (rc != CURLE_OK)
        throw FetchError("No answer from " + url + ": " +
                         (error[0] ? std::string(error) : curl_easy_strerror(rc)));
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &response.status);
    return response;
}

}  // namespace vd::fetch
