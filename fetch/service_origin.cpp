#include "service_origin.h"

#include <curl/curl.h>

#include <cctype>
#include <memory>

#include "errors.h"
#include "site_number.h"

namespace vd::fetch {
namespace {

struct UrlFree {
    void operator()(CURLU* u) const { curl_url_cleanup(u); }
};
using UrlHandle = std::unique_ptr<CURLU, UrlFree>;

std::optional<std::string> part(CURLU* u, CURLUPart which, unsigned flags = 0) {
    char* text = nullptr;
    if (curl_url_get(u, which, &text, flags) != CURLUE_OK || text == nullptr) return std::nullopt;
    std::string out(text);
    curl_free(text);
    return out;
}

std::string lowered(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::optional<Origin> originOfHandle(CURLU* u) {
    auto scheme = part(u, CURLUPART_SCHEME);
    auto host = part(u, CURLUPART_HOST);
    auto port = part(u, CURLUPART_PORT, CURLU_DEFAULT_PORT);
    if (!scheme || !host || !port || host->empty()) return std::nullopt;
    Origin o{lowered(*scheme), lowered(*host), *port};
    if (o.scheme != "http" && o.scheme != "https") return std::nullopt;
    return o;
}

// The parser libcurl itself connects by, so what is checked is what is reached.
UrlHandle parsedUrl(std::string_view url) {
    UrlHandle u(curl_url());
    if (!u) throw Error(ErrorCode::fetch, "The HTTP library could not start");
    if (curl_url_set(u.get(), CURLUPART_URL, std::string(url).c_str(), 0) != CURLUE_OK)
        return nullptr;
    return u;
}

// The scheme written at the front of `link`, for the message; "" for a relative link.
std::string schemeWritten(std::string_view link) {
    const std::size_t colon = link.find(':');
    if (colon == std::string_view::npos || colon == 0) return "";
    for (const char c : link.substr(0, colon))
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.')
            return "";
    return lowered(std::string(link.substr(0, colon)));
}

}  // namespace

std::optional<Origin> webOriginOf(std::string_view url) {
    const UrlHandle u = parsedUrl(url);
    return u ? originOfHandle(u.get()) : std::nullopt;
}

std::string originText(const Origin& o) {
    return o.scheme + "://" + o.host + ":" + o.port;
}

ServiceOrigin::ServiceOrigin(std::string_view baseUrl) {
    const std::optional<Origin> o = webOriginOf(baseUrl);
    if (!o)
        throw Error(ErrorCode::fetch,
                    "The service address " + std::string(baseUrl) + " is no http or https address");
    origin_ = *o;
}

std::string ServiceOrigin::checkedLink(std::string_view link, std::string_view from,
                                       std::string_view what) const {
    const std::string scheme = schemeWritten(link);
    if (!scheme.empty() && scheme != "http" && scheme != "https")
        throw Error(ErrorCode::fetch, "The service gave a " + std::string(what) + " to " +
                                          shownText(link) + ": only http and https are followed");
    const UrlHandle u = parsedUrl(from);
    if (!u || curl_url_set(u.get(), CURLUPART_URL, std::string(link).c_str(), 0) != CURLUE_OK)
        throw Error(ErrorCode::fetch, "The service gave a " + std::string(what) +
                                          " that is no address: " + shownText(link));
    const std::optional<Origin> target = originOfHandle(u.get());
    if (!target)
        throw Error(ErrorCode::fetch, "The service gave a " + std::string(what) + " to " +
                                          shownText(link) + ": only http and https are followed");
    if (*target != origin_)
        throw Error(ErrorCode::fetch, "The service gave a " + std::string(what) + " to " +
                                          originText(*target) + ", another origin than " +
                                          originText(origin_) +
                                          " it was asked at; it is not followed");
    auto absolute = part(u.get(), CURLUPART_URL);
    if (!absolute)
        throw Error(ErrorCode::fetch, "The service gave a " + std::string(what) +
                                          " that is no address: " + shownText(link));
    return *absolute;
}

}  // namespace vd::fetch
