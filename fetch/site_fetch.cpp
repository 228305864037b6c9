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

void checkCancelled(const FetchOptions& o) {
    if (o.cancelled && o.cancelled()) throw Error(ErrorCode::fetchCancelled);
}

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

std::string baseUrlOf(const FetchOptions& o) {
    return o.baseUrl.empty() ? kDefaultBaseUrl : o.baseUrl;
}

std::vector<std::string> requestHeaders(const FetchOptions& o) {
    std::vector<std::string> h = {"Accept: application/geo+json, application/json"};
    if (!o.apiKey.empty()) h.push_back("X-Api-Key: " + o.apiKey);
    return h;
}

std::string apiKeyFromEnvironment() {
    const char* key = std::getenv("API_USGS_PAT");
    return key ? key : "";
}

bool sendsKeyInClearText(const FetchOptions& o) {
    return !o.apiKey.empty() && ServiceOrigin(baseUrlOf(o)).isClearText();
}

DailyPage ServicePages::page(const std::string& url) {
    const std::string body = get(url);
    try {
        return parseDailyPage(body, url);
    } catch (const std::bad_alloc&) {
        throw Error(ErrorCode::fetch,
                    "The answer from " + url + " is too large to read in this memory");
    }
}

std::string ServicePages::get(const std::string& url) {
    checkCancelled(o_);
    return getWithRetries(http_, url, headers_, o_.retry, service_, allowance_);
}

std::vector<DailyValue> ServicePages::allDailyValues(const std::string& firstUrl,
                                                     const std::string& who,
                                                     const std::string& progressName,
                                                     std::size_t mostDays) {
    const auto refuse = [&](const std::string& what) {
        throw Error(ErrorCode::fetch,
                    who + ": the service sent " + what + "; the fetching stops there");
    };
    std::vector<DailyValue> values;
    std::set<std::string> asked;
    std::string url = firstUrl;
    int withoutValues = 0;
    for (int page = 0;; ++page) {
        if (!asked.insert(url).second) break;  // a link back to a page already read
        if (page >= o_.pages.mostPages) refuse("more than " + std::to_string(page) + " pages");
        DailyPage p = this->page(url);
        withoutValues = p.values.empty() ? withoutValues + 1 : 0;
        if (withoutValues > o_.pages.mostPagesWithoutValues)
            refuse(std::to_string(withoutValues) + " pages in a row without a value");
        if (p.values.size() > mostDays - values.size())
            refuse("more than " + std::to_string(mostDays) + " days");
        for (DailyValue& v : p.values) values.push_back(std::move(v));
        if (o_.progress) o_.progress(progressName, values.size());
        if (!p.next) break;
        url = service_.checkedLink(*p.next, url, "next page link");
    }
    return values;
}

void refuseKeyInClearText(const ServiceOrigin& service, const FetchOptions& o,
                          const std::string& who) {
    if (!o.apiKey.empty() && service.isClearText() && !o.allowInsecureKey)
        throw Error(ErrorCode::fetch, who + ": the API key would travel in clear text to " +
                                          originText(service.origin()) +
                                          "; it is sent over https only");
}

void checkSiteValues(const std::vector<DailyValue>& values, const SiteId& id,
                     const FetchOptions& o) {
    if (values.empty())
        throw Error(ErrorCode::fetch,
                    "Site " + id.number + ": the service has no daily mean discharge" +
                        (o.start.empty() && o.end.empty() ? "" : " in the dates asked for"));
    checkServedDays(values, id.number);
}

std::vector<std::filesystem::path> writeSiteFiles(const SiteId& id, const std::string& name,
                                                  std::vector<DailyValue> values,
                                                  const FetchOptions& o) {
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

std::optional<Renewal> renewalOf(const SiteId& id, const FetchOptions& o) {
    if (!o.update) return std::nullopt;
    std::vector<KeptFile> kept = keptFilesOf(o.outDir, id.number);
    // A site of several series is fetched whole: its files cannot be told apart by name.
    if (kept.size() != 1) return std::nullopt;
    const std::optional<std::string> from = firstDayToRenew(kept.front());
    if (!from) return std::nullopt;
    return Renewal{std::move(kept.front()), std::max(*from, o.start)};
}

std::vector<std::filesystem::path> writeRenewed(const SiteId& id, const Renewal& renewal,
                                                std::vector<DailyValue> fresh,
                                                const FetchOptions& o) {
    const std::string& from = renewal.from;
    std::erase_if(fresh, [&](const DailyValue& d) { return d.date.substr(0, 10) < from; });
    if (fresh.empty()) return {renewal.kept.path};
    checkServedDays(fresh, id.number);
    std::vector<DailyValue> days = renewedDays(renewal.kept, std::move(fresh), from);
    const std::vector<std::filesystem::path> written =
        writeSiteFiles(id, renewal.kept.series.siteName, std::move(days), o);
    std::error_code ec;
    if (written.size() == 1 && !std::filesystem::equivalent(written[0], renewal.kept.path, ec))
        std::filesystem::remove(renewal.kept.path, ec);
    return written;
}

std::vector<std::filesystem::path> fetchSite(const std::string& site, const FetchOptions& o) {
    const SiteId id = checkedSite(site);
    const ServiceOrigin service(baseUrlOf(o));
    refuseKeyInClearText(service, o, "Site " + id.number);
    const HttpClient http(o.cancelled, o.limits);
    ServicePages pages(http, service, o);
    if (const std::optional<Renewal> renewal = renewalOf(id, o)) {
        std::vector<DailyValue> fresh =
            pages.allDailyValues(dailyUrl(baseUrlOf(o), id.locationId, renewal->from, o.end),
                                 "Site " + id.number, id.locationId, o.pages.mostDays);
        return writeRenewed(id, *renewal, std::move(fresh), o);
    }
    std::vector<DailyValue> values =
        pages.allDailyValues(dailyUrl(baseUrlOf(o), id.locationId, o.start, o.end),
                             "Site " + id.number, id.locationId, o.pages.mostDays);
    checkSiteValues(values, id, o);
    const std::string locationAt = locationUrl(baseUrlOf(o), id.locationId);
    const std::string name = parseLocationName(pages.get(locationAt), locationAt);
    checkSiteName(name, id.number);
    return writeSiteFiles(id, name, std::move(values), o);
}

}  // namespace vd::fetch
