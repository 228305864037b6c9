// Fetching one gage's daily mean discharge by its site number into classic files.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "retrying_get.h"

namespace vd::fetch {

struct FetchOptions {
    std::string baseUrl;     // empty: the service's own address
    std::string start, end;  // YYYY-MM-DD; empty for an open end
    std::filesystem::path outDir = ".";
    std::string apiKey;     // sent as X-Api-Key when given
    std::string retrieved;  // the header's "retrieved:" text; empty: now, in UTC
    RetryPolicy retry;
    // Told after each page: the site and the days received so far.
    std::function<void(const std::string& site, std::size_t days)> progress;
    std::function<bool()> cancelled;  // true stops the fetching (FetchCancelled)
};

// The key of the environment variable API_USGS_PAT, or empty.
std::string apiKeyFromEnvironment();

// Fetches `site` (with or without "USGS-") and writes one file per discharge series into
// options.outDir, each whole or not at all. Returns the files written. Throws FetchError
// saying why the site failed.
std::vector<std::filesystem::path> fetchSite(const std::string& site, const FetchOptions& options);

}  // namespace vd::fetch
