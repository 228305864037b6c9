#include "site_fetch.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <map>
#include <new>
#include <set>

#include "classic_file.h"
#include "errors.h"
#include "served_values.h"
#include "service_origin.h"
#include "site_number.h"
#include "water_data_pages.h"
#include "whole_file.h"

namespace vd::fetch {
namespace {

std::string nowUtc() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &utc);
    return text;
}

std::string baseUrlOf(const FetchOptions& o) {
    return o.baseUrl.empty() ? kDefaultBaseUrl : o.baseUrl;
}

std::vector<std::string> requestHeaders(const FetchOptions& o) {
    std::vector<std::string> h = {"Accept: application/geo+json, application/json"};
    if (!o.apiKey.empty()) h.push_back("X-Api-Key: " + o.apiKey);
    return h;
}

void checkCancelled(const FetchOptions& o) {
    if (o.cancelled && o.cancelled()) throw Error(ErrorCode::fetchCancelled);
}

// Everything the service sends, within the bounds of `limits`.
class SitePages {
  public:
    SitePages(const HttpClient& http, const ServiceOrigin& service, const FetchOptions& o,
              const SiteId& site)
        : http_(http), service_(service), o_(o), site_(site), headers_(requestHeaders(o)) {}

    std::vector<DailyValue> allDailyValues() {
        std::vector<DailyValue> values;
        std::set<std::string> asked;
        std::string url = dailyUrl(baseUrlOf(o_), site_.locationId, o_.start, o_.end);
        int withoutValues = 0;
        for (int page = 0;; ++page) {
            checkCancelled(o_);
            if (!asked.insert(url).second) break;  // a link back to a page already read
            if (page >= o_.pages.mostPages) refuse("more than " + std::to_string(page) + " pages");
            DailyPage p = parsedPage(url);
            withoutValues = p.values.empty() ? withoutValues + 1 : 0;
            if (withoutValues > o_.pages.mostPagesWithoutValues)
                refuse(std::to_string(withoutValues) + " pages in a row without a value");
            if (p.values.size() > o_.pages.mostDays - values.size())
                refuse("more than " + std::to_string(o_.pages.mostDays) + " days");
            for (DailyValue& v : p.values) values.push_back(std::move(v));
            if (o_.progress) o_.progress(site_.locationId, values.size());
            if (!p.next) break;
            url = service_.checkedLink(*p.next, url, "next page link");
        }
        return values;
    }

    std::string name() {
        const std::string url = locationUrl(baseUrlOf(o_), site_.locationId);
        checkCancelled(o_);
        const std::string body = getWithRetries(http_, url, headers_, o_.retry, service_);
        std::string name = parseLocationName(body, url);
        checkSiteName(name, site_.number);
        return name;
    }

  private:
    DailyPage parsedPage(const std::string& url) {
        const std::string body = getWithRetries(http_, url, headers_, o_.retry, service_);
        try {
            return parseDailyPage(body, url);
        } catch (const std::bad_alloc&) {
            throw Error(ErrorCode::fetch,
                        "The answer from " + url + " is too large to read in this memory");
        }
    }

    [[noreturn]] void refuse(const std::string& what) const {
        throw Error(ErrorCode::fetch, "Site " + site_.number + ": the service sent " + what +
                                          "; the fetching stops there");
    }

    const HttpClient& http_;
    const ServiceOrigin& service_;
    const FetchOptions& o_;
    const SiteId& site_;
    const std::vector<std::string> headers_;
};

// A file reaches its name whole or not at all; a failure names the file and the reason.
void writeWhole(const std::filesystem::path& path, const std::string& text) {
    try {
        writeWholeFile(path, text);
    } catch (const Error& e) {
        if (e.code() != ErrorCode::inOut) throw;
        throw Error(ErrorCode::fetch, e.what());
    }
}

std::vector<ClassicSeries> seriesFiles(std::vector<DailyValue> values, const std::string& number,
                                       const std::string& name, const std::string& retrieved) {
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
        files.push_back(
            {number, name, series, retrieved, datedInOrder(std::move(bySeries[series]), number)});
    return files;
}

// Series whose ids begin alike get a number after the tag, so none overwrites another.
std::vector<std::string> fileNames(const std::vector<ClassicSeries>& files) {
    std::vector<std::string> names;
    std::set<std::string> taken;
    for (const ClassicSeries& f : files) {
        const std::string tag = files.size() > 1 ? f.seriesId.substr(0, 8) : "";
        std::string name = classicFileName(f, tag);
        for (int n = 2; !taken.insert(name).second; ++n)
            name = classicFileName(f, tag + "_" + std::to_string(n));
        names.push_back(std::move(name));
    }
    return names;
}

// The names are made of checked parts only; this holds the promise whatever changes there.
std::filesystem::path pathInside(const std::filesystem::path& dir, const std::string& name) {
    const std::filesystem::path leaf(name);
    if (name.empty() || leaf.has_parent_path() || leaf == "." || leaf == ".." ||
        name.find_first_of("/\\") != std::string::npos)
        throw Error(ErrorCode::fetch,
                    "The file name " + name + " would lie outside " + dir.string());
    return dir / leaf;
}

}  // namespace

std::string apiKeyFromEnvironment() {
    const char* key = std::getenv("API_USGS_PAT");
    return key ? key : "";
}

bool sendsKeyInClearText(const FetchOptions& o) {
    return !o.apiKey.empty() && ServiceOrigin(baseUrlOf(o)).isClearText();
}

std::vector<std::filesystem::path> fetchSite(const std::string& site, const FetchOptions& o) {
    const SiteId id = checkedSite(site);
    const ServiceOrigin service(baseUrlOf(o));
    if (!o.apiKey.empty() && service.isClearText() && !o.allowInsecureKey)
        throw Error(ErrorCode::fetch,
                    "Site " + id.number + ": the API key would travel in clear text to " +
                        originText(service.origin()) + "; it is sent over https only");
    const HttpClient http(o.cancelled, o.limits);
    SitePages pages(http, service, o, id);
    std::vector<DailyValue> values = pages.allDailyValues();
    if (values.empty())
        throw Error(ErrorCode::fetch,
                    "Site " + id.number + ": the service has no daily mean discharge" +
                        (o.start.empty() && o.end.empty() ? "" : " in the dates asked for"));
    checkServedDays(values, id.number);
    const std::string name = pages.name();
    const std::vector<ClassicSeries> files = seriesFiles(
        std::move(values), id.number, name, o.retrieved.empty() ? nowUtc() : o.retrieved);

    std::error_code made;
    std::filesystem::create_directories(o.outDir, made);
    if (made)
        throw Error(ErrorCode::fetch,
                    "Cannot make the folder " + o.outDir.string() + ": " + made.message());
    const std::vector<std::string> names = fileNames(files);
    std::vector<std::filesystem::path> written;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::filesystem::path path = pathInside(o.outDir, names[i]);
        writeWhole(path, classicText(files[i]));
        written.push_back(path);
    }
    return written;
}

}  // namespace vd::fetch
