// Fetching one gage's daily mean discharge by its site number into classic files.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "http_client.h"
#include "kept_files.h"
#include "retrying_get.h"
#include "service_origin.h"
#include "site_number.h"
#include "water_data_pages.h"

namespace vd::fetch {

// How far a site's pages are followed: far beyond what the service sends for a real site
// (one page holds up to 50000 days), short of what would fill the memory.
struct PageLimits {
    int mostPages = 1000;
    int mostPagesWithoutValues = 20;   // in a row
    std::size_t mostDays = 1'000'000;  // over all pages and series of a site
};

struct FetchOptions {
    std::string baseUrl;     // empty: the service's own address
    std::string start, end;  // YYYY-MM-DD; empty for an open end
    std::filesystem::path outDir = ".";
    std::string apiKey;  // sent as X-Api-Key when given, only to the origin of baseUrl
    // A key is sent over plain http only when this is set; otherwise such a site fails.
    bool allowInsecureKey = false;
    std::string retrieved;  // the header's "retrieved:" text; empty: now, in UTC
    RetryPolicy retry;
    TransferLimits limits;
    PageLimits pages;
    // Told after each page: the site and the days received so far.
    std::function<void(const std::string& site, std::size_t days)> progress;
    std::function<bool()> cancelled;  // true stops the fetching (ErrorCode::fetchCancelled)
    // A site whose file an earlier fetching wrote in outDir gets only its new days (and its
    // provisional ones again), joined to the file's; the file is rewritten whole.
    bool update = false;
};

// The key of the environment variable API_USGS_PAT, or empty.
std::string apiKeyFromEnvironment();

// True when `options` would send the API key in clear text (a key and an http address).
bool sendsKeyInClearText(const FetchOptions& options);

class RateAllowance;

// The service's address, and the headers every request carries (the key among them).
std::string baseUrlOf(const FetchOptions& options);
std::vector<std::string> requestHeaders(const FetchOptions& options);

// The requests of one fetching: each checked for cancelling, retried while the service is
// busy, within the rate allowance when one is given.
class ServicePages {
  public:
    ServicePages(const HttpClient& http, const ServiceOrigin& service, const FetchOptions& o,
                 RateAllowance* allowance = nullptr)
        : http_(http),
          service_(service),
          o_(o),
          headers_(requestHeaders(o)),
          allowance_(allowance) {}

    // The body of the answer to `url`.
    std::string get(const std::string& url);
    // Every daily value from `firstUrl` on, following "next" links within the service's
    // origin and the page limits; `who` names the site(s) in messages, `progressName` in
    // the progress told.
    std::vector<DailyValue> allDailyValues(const std::string& firstUrl, const std::string& who,
                                           const std::string& progressName, std::size_t mostDays);

  private:
    DailyPage page(const std::string& url);

    const HttpClient& http_;
    const ServiceOrigin& service_;
    const FetchOptions& o_;
    const std::vector<std::string> headers_;
    RateAllowance* allowance_;
};

// Refuses, naming `who`, a key that would travel in clear text without the allow flag.
void refuseKeyInClearText(const ServiceOrigin& service, const FetchOptions& options,
                          const std::string& who);

// Refuses a site's values when there are none, or when a served day is no day.
void checkSiteValues(const std::vector<DailyValue>& values, const SiteId& id,
                     const FetchOptions& options);

// Writes one classic file per series of the site's (checked) values into options.outDir,
// each whole or not at all; the files written.
std::vector<std::filesystem::path> writeSiteFiles(const SiteId& id, const std::string& name,
                                                  std::vector<DailyValue> values,
                                                  const FetchOptions& options);

// What an update of a site starts from: its earlier file and the first day to ask for.
struct Renewal {
    KeptFile kept;
    std::string from;
};

// The renewal of a site when options.update is set and outDir holds one file fetching
// wrote for it, with at least one day.
std::optional<Renewal> renewalOf(const SiteId& id, const FetchOptions& options);

// Joins the fresh days (asked for from renewal.from or earlier) to the earlier file's and
// writes the file anew, removing the earlier one when the name changed; with nothing new,
// the earlier file is left as it is. The files that hold the site.
std::vector<std::filesystem::path> writeRenewed(const SiteId& id, const Renewal& renewal,
                                                std::vector<DailyValue> fresh,
                                                const FetchOptions& options);

// Fetches `site` (with or without "USGS-") and writes one file per discharge series into
// options.outDir, each whole or not at all. Returns the files written. Throws a fetch error
// saying why the site failed; a site number that is no site number fails before any request.
std::vector<std::filesystem::path> fetchSite(const std::string& site, const FetchOptions& options);

}  // namespace vd::fetch
