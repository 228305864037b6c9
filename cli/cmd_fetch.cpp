// vando3-cli fetch SITE... [--start YYYY-MM-DD] [--end YYYY-MM-DD] [--out-dir DIR]
// [--base-url URL]: daily mean discharge from the USGS Water Data API into classic files.
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <optional>

#include "calendar_date.h"
#include "cli.h"
#include "fetch_error.h"
#include "site_fetch.h"

namespace vd::cli {
namespace {

struct FetchCommand {
    std::vector<std::string> sites;
    fetch::FetchOptions options;
};

// What is wrong with the first and last day asked for; empty when nothing is.
std::string fetchDatesProblem(const std::string& start, const std::string& end) {
    for (const auto& [option, value] : {std::pair{"--start", &start}, std::pair{"--end", &end}})
        if (!value->empty() && !isoDate(*value))
            return std::string(option) + " takes a date YYYY-MM-DD that exists, not '" + *value +
                   "'";
    if (!start.empty() && !end.empty() && *isoDate(end) < *isoDate(start))
        return "--start " + start + " is after --end " + end;
    return {};
}

// The command's own options; the message of a bad command line in `problem`.
std::optional<FetchCommand> parseFetchArgs(const Args& args, std::string& problem) {
    FetchCommand c;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!a.starts_with("--")) {
            c.sites.push_back(a);
            continue;
        }
        if (i + 1 >= args.size()) {
            problem = "option " + a + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (a == "--start" || a == "--end") {
            (a == "--start" ? c.options.start : c.options.end) = value;
        } else if (a == "--out-dir") {
            c.options.outDir = value;
        } else if (a == "--base-url") {
            c.options.baseUrl = value;
        } else {
            problem = "unknown option " + a;
            return std::nullopt;
        }
    }
    problem = fetchDatesProblem(c.options.start, c.options.end);
    if (!problem.empty()) return std::nullopt;
    if (c.sites.empty()) problem = "no site number given";
    return c.sites.empty() ? std::nullopt : std::optional(std::move(c));
}

// Progress goes to a terminal only, on one line rewritten in place.
bool showsProgress(const std::ostream& err) {
    return &err == &std::cerr && isatty(STDERR_FILENO) == 1;
}

}  // namespace

int cmdFetch(const Args& args, const LogPearsonLibrary& /*lib*/, std::ostream& out,
             std::ostream& err) {
    std::string problem;
    std::optional<FetchCommand> command = parseFetchArgs(args, problem);
    if (!command) {
        err << "vando3-cli fetch: " << problem << "\n"
            << "usage: vando3-cli fetch SITE... [--start YYYY-MM-DD] [--end YYYY-MM-DD]"
               " [--out-dir DIR] [--base-url URL]\n";
        return 2;
    }
    fetch::FetchOptions& o = command->options;
    o.apiKey = fetch::apiKeyFromEnvironment();
    const bool progress = showsProgress(err);
    if (progress)
        o.progress = [&err](const std::string& site, std::size_t days) {
            err << "\r" << site << ": " << days << " days received" << std::flush;
        };
    int failed = 0;
    for (const std::string& site : command->sites) {
        try {
            for (const auto& path : fetch::fetchSite(site, o)) out << path.string() << "\n";
            if (progress) err << "\r\033[K" << std::flush;
        } catch (const fetch::FetchError& e) {
            if (progress) err << "\r\033[K";
            err << "vando3-cli fetch: " << e.what() << "\n";
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}

}  // namespace vd::cli
