// vando3-cli fetch SITE... [--start YYYY-MM-DD] [--end YYYY-MM-DD] [--out-dir DIR]
// [--base-url URL] [--allow-insecure-key]: daily mean discharge from the USGS Water Data
// API into classic files.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <iostream>

#include "calendar_date.h"
#include "cli.h"
#include "command_line.h"
#include "errors.h"
#include "served_values.h"
#include "site_fetch.h"
#include "site_number.h"

namespace vd::cli {
namespace {

struct FetchCommand {
    std::vector<std::string> sites;
    fetch::FetchOptions options;
};

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
        "Downloads the daily mean discharge of each SITE from the USGS Water Data API into one "
        "classic tab-delimited file per series, and prints the paths written.\nAn API key is "
        "taken from API_USGS_PAT and sent only to the address of --base-url.\nExit status: 0 "
        "when every site was written, 1 when some failed (the others are kept), 2 for a wrong "
        "command line.",
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
    app.add_flag("--allow-insecure-key", o.allowInsecureKey,
                 "send the API key even to an http:// address, in clear text");
    app.add_option("SITE", c.sites, "site numbers, as 09506000 or USGS-09506000");
    parseCommandLine(app, args);
    checkDates(o.start, o.end);
    if (c.sites.empty()) throw Error(ErrorCode::usage, "no site number given");
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
