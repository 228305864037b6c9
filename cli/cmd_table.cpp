#include <CLI/CLI.hpp>
#include <memory>

#include "analysis.h"
#include "cli.h"
#include "command_line.h"
#include "gage_rows.h"
#include "season_date.h"

namespace vd::cli {
namespace {

struct TableOptions {
    std::string seasonStart = "Apr 1";
    std::string seasonEnd = "Mar 31";
    std::vector<std::string> files;
};

TableOptions parseTableOptions(const Args& args) {
    TableOptions o;
    CLI::App app("Lists the gages of each FILE as the gage table would, tab-separated.",
                 "vando3-cli table");
    app.add_option("--season-start", o.seasonStart, "first day of the season")
        ->type_name("TEXT")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_option("--season-end", o.seasonEnd, "last day of the season")
        ->type_name("TEXT")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_option("FILE", o.files, "flow files");
    parseCommandLine(app, args);
    if (o.files.empty()) throw Error(ErrorCode::usage, "no flow file given");
    return o;
}

}  // namespace

int cmdTable(const Args& args, const LogPearsonLibrary& /*lib*/, std::ostream& out,
             std::ostream& err) {
    TableOptions o;
    try {
        o = parseTableOptions(args);
    } catch (const HelpRequest& help) {
        out << help.text;
        return 0;
    } catch (const Error& e) {
        if (e.code() != ErrorCode::usage) throw;
        err << "vando3-cli table: " << e.what() << '\n';
        return 2;
    }
    if (!typedSeasonDate(o.seasonStart).valid()) {
        err << "Invalid start date\n";
        return 1;
    }
    if (!typedSeasonDate(o.seasonEnd).valid()) {
        err << "Invalid end date\n";
        return 1;
    }

    // Every file is read once: none is kept parsed for a run.
    Analysis analysis([](const std::string& path, const std::string& start,
                         const std::string& end) { return readFileRecords(path, start, end); });
    analysis.settings().seasonStart = o.seasonStart;
    analysis.settings().seasonEnd = o.seasonEnd;
    int row = 0;
    int status = 0;
    for (const std::string& path : o.files) {
        const FileReading reading = analysis.readFile(path);
        if (!reading.read()) {
            err << readErrorMessage(reading) << '\n';
            status = 1;
            continue;
        }
        for (const TableGage& g : reading.gages)
            out << rowNumberText(++row) << '\t' << g.name << '\t' << g.file << '\t' << g.record
                << '\t' << g.start << '\t' << g.end << '\t' << (g.use ? 1 : 0) << '\n';
    }
    return status;
}

}  // namespace vd::cli
