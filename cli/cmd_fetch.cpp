// vando3-cli fetch [SITE...] [--sites-from FILE] [--state S [--county C]] [--huc PREFIX]
// [--bbox W,S,E,N] [--start YYYY-MM-DD] [--end YYYY-MM-DD] [--out-dir DIR] [--update]
// [--base-url URL] [--allow-insecure-key]: daily mean discharge from the USGS Water Data API into
// classic files, site by site or every stream gage of a region.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <iostream>

#include "calendar_date.h"
#include "cli.h"
#include "command_line.h"
#include "errors.h"
#include "input_file.h"
#include "many_sites.h"
#include "served_values.h"
#include "site_fetch.h"
#include "site_number.h"

namespace vd::cli {
namespace {

struct FetchCommand {
    std::vector<std::string> sites;
    fetch::SiteFilter region;
    fetch::FetchOptions options;
};

// The site numbers of a list file: one a line; blank lines and lines from "#" on are not.
std::vector<std::string> sitesOfFile(const std::string& path) {
    std::string text;
    try {
        text = readInputFile(path);
    } catch (const std::exception& e) {
        throw Error(ErrorCode::usage, std::string("--sites-from: ") + e.what());
    }
    std::vector<std::string> sites;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t end = std::min(text.find('\n', from), text.size());
        std::string line = text.substr(from, end - from);
        line = line.substr(0, line.find('#'));
        const std::size_t first = line.find_first_not_of(" \t\r");
        if (first != std::string::npos)
            sites.push_back(line.substr(first, line.find_last_not_of(" \t\r") + 1 - first));
        from = end + 1;
    }
    return sites;
}

fetch::SiteFilter regionOf(const std::string& state, const std::string& county,
                           const std::string& huc, const std::string& box) {
    fetch::SiteFilter f;
    if (!state.empty()) {
        const auto fips = fetch::stateFipsCode(state);
        if (!fips)
            throw Error(ErrorCode::usage,
                        "--state takes a state's two letters or FIPS code, not '" +
                            fetch::shownText(state) + "'");
        f.stateCode = *fips;
    }
    if (!county.empty()) {
        if (state.empty())
            throw Error(ErrorCode::usage, "--county needs --state: county codes are the state's");
        if (county.size() > 3 || county.find_first_not_of("0123456789") != std::string::npos)
            throw Error(ErrorCode::usage,
                        "--county takes a county's FIPS code of 1 to 3 digits, not '" +
                            fetch::shownText(county) + "'");
        f.countyCode = std::string(3 - county.size(), '0') + county;
    }
    if (!huc.empty()) {
        if (!fetch::hucPrefixOf(huc))
            throw Error(ErrorCode::usage,
                        "--huc takes the leading 2, 4, ... 12 digits of a hydrologic unit, "
                        "not '" +
                            fetch::shownText(huc) + "'");
        f.hucPrefix = huc;
    }
    if (!box.empty()) {
        f.box = fetch::boundingBox(box);
        if (!f.box)
            throw Error(ErrorCode::usage, "--bbox takes west,south,east,north in degrees, not '" +
                                              fetch::shownText(box) + "'");
    }
    return f;
}

// The first and last day asked for must exist and come in order.
void checkDates(const std::string& start, const std::string& end) {
    for (const auto& [option, value] : {std::pair{"--start", &start}, std::pair{"--end", &end}})
        if (!value->empty() && !isoDate(*value))
            throw Error(
                ErrorCode::usage,
                std::string(option) + " takes a date YYYY-MM-DD that exists, not '" + *value + "'");
    if (!start.empty() && !end.empty() && *isoDate(end) < *isoDate(start))
        throw Error(ErrorCode::usage, "--start " + start + " is after --end " + end);
}

FetchCommand parseFetchArgs(const Args& args) {
    FetchCommand c;
    fetch::FetchOptions& o = c.options;
    std::string outDir = o.outDir.string();
    CLI::App app(
        "Downloads the daily mean discharge of each SITE, or of every stream gage of a region "
        "(--state, --county, --huc, --bbox) with daily values in the dates, from the USGS "
        "Water Data API into one classic tab-delimited file per series, and prints the paths "
        "written. A region's gages are asked for many to a request, within the service's "
        "hourly allowance (pausing when it is spent).\nAn API key is taken from API_USGS_PAT "
        "and sent only to the address of --base-url; it raises the allowance.\nExit status: 0 "
        "when every site was written, 1 when some failed (the others are kept) or a region "
        "holds none, 2 for a wrong command line.",
        "vando3-cli fetch");
    const auto last = CLI::MultiOptionPolicy::TakeLast;
    app.add_option("--start", o.start, "first day, YYYY-MM-DD (default: the first on record)")
        ->type_name("YYYY-MM-DD")
        ->multi_option_policy(last);
    app.add_option("--end", o.end, "last day, YYYY-MM-DD (default: the last on record)")
        ->type_name("YYYY-MM-DD")
        ->multi_option_policy(last);
    app.add_option("--out-dir", outDir, "the folder to write in (default: the current one)")
        ->type_name("DIR")
        ->multi_option_policy(last);
    app.add_option("--base-url", o.baseUrl, "the service's address (default: the USGS service)")
        ->type_name("URL")
        ->multi_option_policy(last);
    app.add_flag("--update", o.update,
                 "extend the files an earlier fetch wrote in --out-dir with the days after their "
                 "last one (and their provisional days anew) instead of fetching them again");
    app.add_flag("--allow-insecure-key", o.allowInsecureKey,
                 "send the API key even to an http:// address, in clear text");
    std::string sitesFrom, state, county, huc, box;
    app.add_option("--sites-from", sitesFrom, "a file of site numbers, one a line")
        ->type_name("FILE")
        ->multi_option_policy(last);
    app.add_option("--state", state, "every stream gage of a state: AZ, or its FIPS code 04")
        ->type_name("STATE")
        ->multi_option_policy(last);
    app.add_option("--county", county, "... of a county of that state, by FIPS code: 025")
        ->type_name("CODE")
        ->multi_option_policy(last);
    app.add_option("--huc", huc, "... of a hydrologic unit, by its leading digits: 1506")
        ->type_name("PREFIX")
        ->multi_option_policy(last);
    app.add_option("--bbox", box, "... inside a box of decimal degrees")
        ->type_name("W,S,E,N")
        ->multi_option_policy(last);
    app.add_option("SITE", c.sites, "site numbers, as 09506000 or USGS-09506000");
    parseCommandLine(app, args);
    checkDates(o.start, o.end);
    c.region = regionOf(state, county, huc, box);
    if (!sitesFrom.empty())
        for (std::string& site : sitesOfFile(sitesFrom)) c.sites.push_back(std::move(site));
    if (c.sites.empty() && c.region.empty()) throw Error(ErrorCode::usage, "no site number given");
    for (const std::string& site : c.sites) {
        try {
            (void)fetch::checkedSite(site);
        } catch (const Error& e) {
            if (!isFetchFailure(e.code())) throw;
            throw Error(ErrorCode::usage, e.what());
        }
    }
    o.outDir = outDir;
    return c;
}

// Progress goes to a terminal only, on one line rewritten in place.
bool showsProgress(const std::ostream& err) {
    return &err == &std::cerr && isatty(STDERR_FILENO) == 1;
}

// The paths written are the command's answer: one that cannot be printed is a failure.
bool printed(std::ostream& out, const std::vector<std::filesystem::path>& paths) {
    for (const auto& path : paths) out << path.string() << "\n";
    return static_cast<bool>(out.flush());
}

// Finds and fetches a region's gages; the number that failed, or none when fetching had to
// stop (after saying why).
std::optional<int> fetchRegion(const fetch::SiteFilter& region, const fetch::FetchOptions& o,
                               std::ostream& out, std::ostream& err, bool progress) {
    fetch::RateAllowance allowance;
    std::vector<fetch::FoundSite> sites;
    try {
        sites = fetch::findSites(region, o, allowance);
    } catch (const std::exception& e) {
        err << "vando3-cli fetch: " << e.what() << "\n";
        return std::nullopt;
    }
    if (sites.empty()) {
        err << "vando3-cli fetch: the service lists no stream gage with daily mean discharge "
               "there"
            << (o.start.empty() && o.end.empty() ? "" : " in the dates asked for") << "\n";
        return std::nullopt;
    }
    fetch::FetchOptions quiet = o;
    quiet.progress = nullptr;
    int failed = 0;
    std::size_t done = 0;
    bool listed = true;
    try {
        fetch::fetchSites(sites, quiet, allowance, [&](const fetch::SiteOutcome& site) {
            ++done;
            if (progress) err << "\r\033[K";
            if (!site.error.empty()) {
                err << "vando3-cli fetch: " << site.error << "\n";
                ++failed;
            } else if (listed && !printed(out, site.written)) {
                err << "vando3-cli fetch: the files of site " << site.site.id.number
                    << " are written but could not be listed; fetching stops\n";
                listed = false;
                throw Error(ErrorCode::fetchCancelled);
            }
            if (progress) err << done << " of " << sites.size() << " gages fetched" << std::flush;
        });
    } catch (const std::exception& e) {
        if (!listed) {
            if (progress) err << "\r\033[K";
            return std::nullopt;
        }
        if (progress) err << "\r\033[K";
        err << "vando3-cli fetch: " << e.what() << "\n";
        return std::nullopt;
    }
    if (progress) err << "\r\033[K" << std::flush;
    return failed;
}

}  // namespace

int cmdFetch(const Args& args, const LogPearsonLibrary& /*lib*/, std::ostream& out,
             std::ostream& err) {
    FetchCommand command;
    try {
        command = parseFetchArgs(args);
    } catch (const HelpRequest& help) {
        out << help.text;
        return 0;
    } catch (const Error& e) {
        if (e.code() != ErrorCode::usage) throw;
        err << "vando3-cli fetch: " << e.what() << "\n";
        return 2;
    }
    fetch::FetchOptions& o = command.options;
    o.apiKey = fetch::apiKeyFromEnvironment();
    try {
        if (fetch::sendsKeyInClearText(o)) {
            err << "vando3-cli fetch: warning: the API key of API_USGS_PAT would travel in clear "
                   "text to "
                << o.baseUrl << "\n";
            if (!o.allowInsecureKey) {
                err << "vando3-cli fetch: use an https:// address, or give --allow-insecure-key\n";
                return 1;
            }
        }
    } catch (const Error& e) {
        if (!isFetchFailure(e.code())) throw;
        err << "vando3-cli fetch: " << e.what() << "\n";
        return 1;
    }
    const bool progress = showsProgress(err);
    if (progress)
        o.progress = [&err](const std::string& site, std::size_t days) {
            err << "\r" << site << ": " << days << " days received" << std::flush;
        };
    int failed = 0;
    if (!command.region.empty()) {
        const std::optional<int> status = fetchRegion(command.region, o, out, err, progress);
        if (!status) return 1;
        failed += *status;
    }
    for (const std::string& site : command.sites) {
        try {
            const std::vector<std::filesystem::path> written = fetch::fetchSite(site, o);
            if (progress) err << "\r\033[K" << std::flush;
            if (!printed(out, written)) {
                // The program's check of standard output gives the reason.
                err << "vando3-cli fetch: the files of site " << site
                    << " are written but could not be listed; fetching stops\n";
                return 1;
            }
        } catch (const std::exception& e) {
            // One site's failure, whatever it is, leaves the others and their files alone.
            if (progress) err << "\r\033[K";
            err << "vando3-cli fetch: " << e.what() << "\n";
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}

}  // namespace vd::cli
