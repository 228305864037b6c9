// Fetching the stream gages of a region, or a long list of sites, with many sites to a
// request and within the service's hourly allowance.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "rate_allowance.h"
#include "site_fetch.h"
#include "site_search.h"

namespace vd::fetch {

// Sites asked for in one request: the service takes comma-separated lists, and 50 ids keep
// an address well under the lengths servers accept.
inline constexpr std::size_t kSitesPerRequest = 50;

// Every stream gage the filter takes that has daily mean discharge in options.start ..
// options.end, in the order the service lists them. Throws a fetch error when the service
// cannot be asked.
std::vector<FoundSite> findSites(const SiteFilter& filter, const FetchOptions& options,
                                 RateAllowance& allowance);

struct SiteOutcome {
    FoundSite site;
    std::vector<std::filesystem::path> written;
    std::string error;  // empty: the site's files are written
};

// Fetches the sites `sitesPerRequest` at a time and writes each one's files as fetchSite
// does; `done` hears of every site, in order, as soon as its files are written (or why
// not). One site's failure leaves the others alone.
void fetchSites(const std::vector<FoundSite>& sites, const FetchOptions& options,
                RateAllowance& allowance, const std::function<void(const SiteOutcome&)>& done,
                std::size_t sitesPerRequest = kSitesPerRequest);

}  // namespace vd::fetch
