// `vando3-cli run` and `vando3-cli excursions`: add the files as the gage table would,
// run the calculation and print exactly what "Copy to clipboard" would copy.
#include <chrono>
#include <memory>

#include "analysis.h"
#include "cli.h"
#include "errors.h"
#include "log_pearson_library.h"
#include "run_options.h"
#include "run_outcome.h"
#include "season_date.h"
#include "vd_paramfile.h"

namespace vd::cli {
namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct TableBuild {
    bool failures = false;  // a file could not be read, or stored files are missing
    double readSeconds = 0;
    // The period years that adding writes: those of the last gage added by the last call.
    std::string firstYear = "0";
    std::string lastYear = "0";
};

// Notes what adding one file did: why it could not be read, or its last gage's years.
void noteReading(const FileReading& reading, TableBuild& build, std::ostream& err) {
    if (!reading.read()) {
        err << readErrorMessage(reading) << '\n';
        build.failures = true;
        // Set a character at a time: GCC 12 at -O3 warns falsely (-Wrestrict) on the
        // assignment of "0" here.
        build.firstYear.assign(1, '0');
        build.lastYear.assign(1, '0');
        return;
    }
    const std::vector<TableGage>& gages = reading.gages;
    build.firstYear = gages.empty() ? "0" : std::to_string(gages.back().firstYear);
    build.lastYear = gages.empty() ? "0" : std::to_string(gages.back().lastYear);
}

// Adds every file alone, in the order given; the rows a parameter file stored are replayed
// as the window replays them.
TableBuild buildTable(const RunOptions& o, Analysis& analysis, std::ostream& err) {
    TableBuild build;
    build.failures = o.missingStoredFiles;
    if (o.missingStoredFiles) {
        err << "One or more flow data files stored with the parameter file is missing and "
               "deleted from the list. \n";
        for (const std::string& path : o.missingStoredPaths) err << "  " << path << '\n';
    }
    const auto started = Clock::now();
    const auto note = [&](const FileReading& reading) { noteReading(reading, build, err); };
    for (const FileToAdd& f : o.files) {
        if (f.stored.empty())
            note(analysis.addFile(f.path));
        else
            analysis.addStoredEntries(f.stored, note);
    }
    build.readSeconds = secondsSince(started);
    return build;
}

void applyTableEdits(const RunOptions& o, run::GageTable& table) {
    const auto rowOf = [&](int row) -> run::GageRow& {
        if (row < 1 || row > table.rowCount())
            throw Error(ErrorCode::usage, "the gage table has no row " + std::to_string(row));
        return table.row(row - 1);
    };
    for (const TableYears& y : o.tableYears) {
        rowOf(y.row).start = y.start;
        rowOf(y.row).end = y.end;
    }
    for (const int row : o.unmarked) rowOf(row).use = false;
}

bool checkSeason(const run::SettingsTexts& t, std::ostream& err) {
    if (!parseSeasonDate(t.seasonStart).valid()) {
        err << "Invalid start date\n";
        return false;
    }
    if (!parseSeasonDate(t.seasonEnd).valid()) {
        err << "Invalid end date\n";
        return false;
    }
    return true;
}

const char* commandPrefix(RunCommand command) {
    switch (command) {
        case RunCommand::excursions:
            return "vando3-cli excursions: ";
        case RunCommand::plot:
            return "vando3-cli plot: ";
        case RunCommand::run:
        case RunCommand::batch:
            break;
    }
    return "vando3-cli run: ";
}

// Says why the run stopped; the status of a failure.
int failureStatus(const std::exception& e, std::ostream& err) {
    err << e.what() << '\n';
    return 1;
}

}  // namespace

std::optional<int> calculateRun(const Args& args, const LogPearsonLibrary& lib,
                                RunCommand runCommand, Outcome& outcome, std::ostream& err) {
    const char* command = commandPrefix(runCommand);
    const auto started = Clock::now();
    try {
        outcome.options = parseRunOptions(args, runCommand);
    } catch (const HelpRequest& help) {
        outcome.helpText = help.text;
        return 0;
    } catch (const Error& e) {
        if (e.code() == ErrorCode::usage) {
            err << command << e.what() << '\n';
            return 2;
        }
        if (e.code() != ErrorCode::paramFile) throw;
        err << e.what() << '\n';
        return 1;
    }
    RunOptions& o = outcome.options;
    for (const std::string& w : o.warnings) err << command << w << '\n';
    // Without a file there is nothing to compute: an empty report would pass for a result.
    if (o.files.empty() && !o.missingStoredFiles) {
        err << command << "no flow file given\n";
        return 2;
    }
    try {
        if (!o.files.empty() && !checkSeason(o.texts, err)) return 1;
        // The run reads the files the table has just read: they are parsed once.
        Analysis& analysis = outcome.analysis;
        analysis.setSettings(o.texts);
        TableBuild table = buildTable(o, analysis, err);
        applyTableEdits(o, analysis.table());
        if (!o.periodChosen) {
            o.texts.period = run::PeriodKind::all;
            o.texts.firstYear = table.firstYear;
            o.texts.lastYear = table.lastYear;
        }
        analysis.setSettings(o.texts);
        outcome.failures = table.failures;
        analysis.run(lib);
        if (o.timing) {
            const double runReading = outcome.result().readSeconds;
            const double reading = table.readSeconds + runReading;
            err << "read time: " << reading << " s (adding files " << table.readSeconds
                << " s, calculation run " << runReading << " s)\n"
                << "total time: " << secondsSince(started) << " s\n";
        }
    } catch (const Error& e) {
        if (e.code() != ErrorCode::usage) return failureStatus(e, err);
        err << command << e.what() << '\n';
        return 2;
    } catch (const std::exception& e) {
        return failureStatus(e, err);
    }
    return std::nullopt;
}

int cmdRun(const Args& args, const LogPearsonLibrary& lib, std::ostream& out, std::ostream& err) {
    Outcome outcome;
    if (const auto status = calculateRun(args, lib, RunCommand::run, outcome, err)) {
        out << outcome.helpText;
        return *status;
    }
    out << outcome.analysis.reportText();
    return outcome.failures ? 1 : 0;
}

int cmdExcursions(const Args& args, const LogPearsonLibrary& lib, std::ostream& out,
                  std::ostream& err) {
    Outcome outcome;
    if (const auto status = calculateRun(args, lib, RunCommand::excursions, outcome, err)) {
        out << outcome.helpText;
        return *status;
    }
    try {
        out << outcome.analysis.excursionText(*outcome.options.row);
    } catch (const std::exception& e) {
        err << e.what() << '\n';
        return 1;
    }
    return outcome.failures ? 1 : 0;
}

}  // namespace vd::cli
