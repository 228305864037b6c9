// Fetching one gage's daily mean discharge by its site number into classic files.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "http_client.h"
#include "retrying_get.h"

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
};

// The key of the environment variable API_USGS_PAT, or empty.
std::string apiKeyFromEnvironment();

// True when `options` would send the API key in clear text (a key and an http address).
bool sendsKeyInClearText(const FetchOptions& options);

// Fetches `site` (with or without "USGS-") and writes one file per discharge series into
// options.outDir, each whole or not at all. Returns the files written. Throws a fetch error
// saying why the site failed; a site number that is no site number fails before any request.
std::vector<std::filesystem::path> fetchSite(const std::string& site, const FetchOptions& options);

}  // namespace vd::fetch
