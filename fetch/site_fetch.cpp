#include "site_fetch.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <set>

#include "classic_file.h"
#include "fetch_error.h"
#include "water_data_pages.h"

namespace vd::fetch {
namespace {

constexpr int kMostPages = 100000;  // a guard against a "next" link that never ends

std::string nowUtc() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &utc);
    return text;
}

std::vector<std::string> requestHeaders(const FetchOptions& o) {
    std::vector<std::string> h = {"Accept: application/geo+json, application/json"};
    if (!o.apiKey.empty()) h.push_back("X-Api-Key: " + o.apiKey);
    return h;
}

void checkCancelled(const FetchOptions& o) {
    if (o.cancelled && o.cancelled()) throw FetchCancelled();
}

std::vector<DailyValue> allDailyValues(const HttpClient& http, const std::string& locationId,
                                       const FetchOptions& o) {
    const std::string base = o.baseUrl.empty() ? kDefaultBaseUrl : o.baseUrl;
    const std::vector<std::string> headers = requestHeaders(o);
    std::vector<DailyValue> values;
    std::set<std::string> asked;
    std::string url = dailyUrl(base, locationId, o.start, o.end);
    for (int page = 0; page < kMostPages; ++page) {
        checkCancelled(o);
        if (!asked.insert(url).second) break;  // a link back to a page already read
        DailyPage p = parseDailyPage(getWithRetries(http, url, headers, o.retry), url);
        for (DailyValue& v : p.values) values.push_back(std::move(v));
        if (o.progress) o.progress(locationId, values.size());
        if (!p.next) break;
        url = *p.next;
    }
    return values;
}

// Writes under a temporary name first, so a failure leaves no part of a file behind.
void writeWhole(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::path part = path;
    part += ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        if (!out) {
            std::error_code ec;
            std::filesystem::remove(part, ec);
            throw FetchError("Cannot write " + part.string());
        }
    }
    std::error_code ec;
    std::filesystem::rename(part, path, ec);
    if (ec) {
        std::filesystem::remove(part, ec);
        throw FetchError("Cannot write " + path.string());
    }
}

}  // namespace

std::string apiKeyFromEnvironment() {
    const char* key = std::getenv("API_USGS_PAT");
    return key ? key : "";
}

std::vector<std::filesystem::path> fetchSite(const std::string& site, const FetchOptions& o) {
    const std::string locationId = monitoringLocationId(site);
    const std::string number = locationId.substr(locationId.find('-') + 1);
    const HttpClient http(o.cancelled);
    std::vector<DailyValue> values = allDailyValues(http, locationId, o);
    if (values.empty())
        throw FetchError("Site " + number + ": the service has no daily mean discharge" +
                         (o.start.empty() && o.end.empty() ? "" : " in the dates asked for"));

    const std::string base = o.baseUrl.empty() ? kDefaultBaseUrl : o.baseUrl;
    const std::string nameUrl = locationUrl(base, locationId);
    checkCancelled(o);
    const std::string name =
        parseLocationName(getWithRetries(http, nameUrl, requestHeaders(o), o.retry), nameUrl);

    // One file per series, in order of first appearance.
    std::vector<std::string> order;
    std::map<std::string, std::vector<DailyValue>> bySeries;
    for (DailyValue& v : values) {
        auto& days = bySeries[v.series];
        if (days.empty()) order.push_back(v.series);
        days.push_back(std::move(v));
    }
    std::vector<ClassicSeries> files;
    for (const std::string& series : order)
        files.push_back({number, name, series, o.retrieved.empty() ? nowUtc() : o.retrieved,
                         datedInOrder(std::move(bySeries[series]), number)});

    std::error_code made;
    std::filesystem::create_directories(o.outDir, made);
    if (made)
        throw FetchError("Cannot make the folder " + o.outDir.string() + ": " + made.message());
    std::vector<std::filesystem::path> written;
    for (const ClassicSeries& f : files) {
        const std::string tag = files.size() > 1 ? f.seriesId.substr(0, 8) : "";
        const std::filesystem::path path = o.outDir / classicFileName(f, tag);
        writeWhole(path, classicText(f));
        written.push_back(path);
    }
    return written;
}

}  // namespace vd::fetch
