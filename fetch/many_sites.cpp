#include "many_sites.h"

#include <map>
#include <set>

#include "errors.h"
#include "served_values.h"

namespace vd::fetch {
namespace {

std::vector<std::string> idsOf(const std::vector<FoundSite>& sites, std::size_t from,
                               std::size_t count) {
    std::vector<std::string> ids;
    for (std::size_t i = from; i < sites.size() && i < from + count; ++i)
        ids.push_back(sites[i].id.locationId);
    return ids;
}

// Every page from `url` on, each read by `read`, which says where the next one is.
template <class ReadPage>
void followPages(ServicePages& pages, const ServiceOrigin& service, const FetchOptions& o,
                 std::string url, ReadPage read) {
    std::set<std::string> asked;
    for (int page = 0; asked.insert(url).second; ++page) {
        if (page >= o.pages.mostPages)
            throw Error(ErrorCode::fetch, "The service sent more than " + std::to_string(page) +
                                              " pages of sites; the search stops there");
        const std::optional<std::string> next = read(pages.get(url), url);
        if (!next) return;
        url = service.checkedLink(*next, url, "next page link");
    }
}

std::vector<FoundSite> locationsOf(const SiteFilter& filter, const FetchOptions& o,
                                   ServicePages& pages, const ServiceOrigin& service) {
    std::vector<FoundSite> sites;
    std::set<std::string> seen;
    followPages(pages, service, o, locationsUrl(baseUrlOf(o), filter),
                [&](const std::string& body, const std::string& url) {
                    LocationsPage page = parseLocationsPage(body, url, filter);
                    for (FoundSite& s : page.sites)
                        if (seen.insert(s.id.locationId).second) sites.push_back(std::move(s));
                    return page.next;
                });
    return sites;
}

std::set<std::string> withDailyDischarge(const std::vector<FoundSite>& sites, const FetchOptions& o,
                                         ServicePages& pages, const ServiceOrigin& service) {
    std::set<std::string> found;
    for (std::size_t from = 0; from < sites.size(); from += kSitesPerRequest)
        followPages(pages, service, o,
                    seriesUrl(baseUrlOf(o), idsOf(sites, from, kSitesPerRequest)),
                    [&](const std::string& body, const std::string& url) {
                        SeriesPage page = parseSeriesPage(body, url, o.start, o.end);
                        found.insert(page.locations.begin(), page.locations.end());
                        return page.next;
                    });
    return found;
}

std::string groupName(const std::vector<FoundSite>& sites, std::size_t from, std::size_t count) {
    const std::size_t last = std::min(sites.size(), from + count) - 1;
    if (last == from) return "Site " + sites[from].id.number;
    return "Sites " + sites[from].id.number + " to " + sites[last].id.number;
}

SiteOutcome writtenSite(const FoundSite& site, std::vector<DailyValue> values,
                        const FetchOptions& o) {
    SiteOutcome outcome{site, {}, {}};
    try {
        checkSiteValues(values, site.id, o);
        checkSiteName(site.name, site.id.number);
        outcome.written = writeSiteFiles(site.id, site.name, std::move(values), o);
    } catch (const Error& e) {
        if (!isFetchFailure(e.code())) throw;
        outcome.error = e.what();
    }
    return outcome;
}

SiteOutcome renewedSite(const FoundSite& site, const Renewal& renewal,
                        std::vector<DailyValue> fresh, const FetchOptions& o) {
    SiteOutcome outcome{site, {}, {}};
    try {
        outcome.written = writeRenewed(site.id, renewal, std::move(fresh), o);
    } catch (const Error& e) {
        if (!isFetchFailure(e.code())) throw;
        outcome.error = e.what();
    }
    return outcome;
}

}  // namespace

std::vector<FoundSite> findSites(const SiteFilter& filter, const FetchOptions& o,
                                 RateAllowance& allowance) {
    const ServiceOrigin service(baseUrlOf(o));
    refuseKeyInClearText(service, o, "The search");
    const HttpClient http(o.cancelled, o.limits);
    ServicePages pages(http, service, o, &allowance);
    std::vector<FoundSite> sites = locationsOf(filter, o, pages, service);
    const std::set<std::string> daily = withDailyDischarge(sites, o, pages, service);
    std::erase_if(sites, [&](const FoundSite& s) { return !daily.contains(s.id.locationId); });
    return sites;
}

void fetchSites(const std::vector<FoundSite>& sites, const FetchOptions& o,
                RateAllowance& allowance, const std::function<void(const SiteOutcome&)>& done,
                std::size_t sitesPerRequest) {
    const ServiceOrigin service(baseUrlOf(o));
    refuseKeyInClearText(service, o, "The fetching");
    const HttpClient http(o.cancelled, o.limits);
    ServicePages pages(http, service, o, &allowance);
    const std::size_t per = std::max<std::size_t>(1, sitesPerRequest);
    for (std::size_t from = 0; from < sites.size(); from += per) {
        const std::string who = groupName(sites, from, per);
        const std::vector<std::string> ids = idsOf(sites, from, per);
        // An update asks for the days every site of the group needs: from the earliest.
        std::vector<std::optional<Renewal>> renewals;
        std::optional<std::string> start;
        for (std::size_t i = from; i < from + ids.size(); ++i) {
            renewals.push_back(renewalOf(sites[i].id, o));
            const std::string first = renewals.back() ? renewals.back()->from : o.start;
            if (!start || first < *start) start = first;
        }
        std::map<std::string, std::vector<DailyValue>> bySite;
        std::string failure;
        try {
            for (DailyValue& v :
                 pages.allDailyValues(dailyUrl(baseUrlOf(o), ids, start.value_or(""), o.end), who,
                                      who, o.pages.mostDays * ids.size()))
                bySite[v.location].push_back(std::move(v));
        } catch (const Error& e) {
            if (e.code() == ErrorCode::fetchCancelled || !isFetchFailure(e.code())) throw;
            failure = e.what();
        }
        for (std::size_t i = from; i < from + ids.size(); ++i) {
            if (!failure.empty()) {
                done({sites[i], {}, failure});
                continue;
            }
            auto values = bySite.find(sites[i].id.locationId);
            std::vector<DailyValue> fresh =
                values == bySite.end() ? std::vector<DailyValue>{} : std::move(values->second);
            if (const auto& renewal = renewals[i - from])
                done(renewedSite(sites[i], *renewal, std::move(fresh), o));
            else
                done(writtenSite(sites[i], std::move(fresh), o));
        }
    }
}

}  // namespace vd::fetch
