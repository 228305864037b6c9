// `vando3-cli batch`: every gage of many files computed independently, as CSV.
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <optional>
#include <thread>

#include "batch_files.h"
#include "batch_progress.h"
#include "batch_run.h"
#include "cli.h"
#include "errors.h"
#include "run_options.h"
#include "season_date.h"
#include "utf8_path.h"
#include "vd_paramfile.h"
#include "whole_file.h"

namespace vd::cli {
namespace {

constexpr int someUnread = 3;
constexpr int kThreadsPerCore = 4;

void checkPeriod(const run::SettingsTexts& t) {
    // The other choices compare the gages of one table; a batch has no table.
    if (t.period != run::PeriodKind::all && t.period != run::PeriodKind::years)
        throw Error(
            ErrorCode::usage,
            "--period takes all or years:FIRST:LAST here (common, longest and table compare "
            "the gages of one table)");
}

std::vector<std::string> listedPaths(const std::vector<std::string>& lists) {
    std::vector<std::string> paths;
    for (const std::string& list : lists) {
        std::vector<std::string> more;
        if (list == "-") {
            more = pathsFromList(std::cin);
        } else {
            std::ifstream in(list, std::ios::binary);
            if (!in)
                throw Error(ErrorCode::inOut, "Cannot open the list of files \"" + list + "\"");
            more = pathsFromList(in);
        }
        paths.insert(paths.end(), more.begin(), more.end());
    }
    return paths;
}

bool progressWanted(const BatchOptions& b, const std::ostream& err) {
    if (b.progress) return *b.progress;
    return &err == &std::cerr && isatty(STDERR_FILENO);
}

// More threads than a few per core only cost memory: a large --jobs is cut with a note.
int jobsOf(const BatchOptions& b, std::ostream& err) {
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    if (b.jobs <= 0) return cores;
    const int most = kThreadsPerCore * cores;
    if (b.jobs <= most) return b.jobs;
    err << "vando3-cli batch: --jobs " << b.jobs << " is more than " << kThreadsPerCore
        << " threads for each of the " << cores << " cores; using " << most << "\n";
    return most;
}

}  // namespace

int cmdBatch(const Args& args, const LogPearsonLibrary& lib, std::ostream& out, std::ostream& err) {
    RunOptions o;
    try {
        o = parseRunOptions(args, RunCommand::batch);
        checkPeriod(o.texts);
        for (const std::string& w : o.warnings) err << "vando3-cli batch: " << w << '\n';
    } catch (const HelpRequest& help) {
        out << help.text;
        return 0;
    } catch (const Error& e) {
        if (e.code() == ErrorCode::usage) {
            err << "vando3-cli batch: " << e.what() << '\n';
            return 2;
        }
        if (e.code() != ErrorCode::paramFile) throw;
        err << e.what() << '\n';
        return 1;
    }
    try {
        std::vector<std::string> paths;
        for (const FileToAdd& f : o.files) paths.push_back(f.path);
        const std::vector<std::string> listed = listedPaths(o.batch.filesFrom);
        paths.insert(paths.end(), listed.begin(), listed.end());
        if (paths.empty()) {
            err << "vando3-cli batch: no flow file or folder given\n";
            return 2;
        }
        if (!parseSeasonDate(o.texts.seasonStart).valid())
            throw Error(ErrorCode::conversion, "Invalid start date");
        if (!parseSeasonDate(o.texts.seasonEnd).valid())
            throw Error(ErrorCode::conversion, "Invalid end date");
        const run::RunSettings settings = run::settingsFromTexts(o.texts);
        const std::vector<BatchInput> files = expandFlowPaths(paths);
        // A header alone would read as a batch of no gages that went well.
        if (files.empty()) {
            err << "vando3-cli batch: no flow file (*.txt, *.rdb, *.cgi, *.flo, *.csv, *.json, "
                   "*.geojson) in the folders given\n";
            return 2;
        }
        if (!o.batch.out.empty())
            if (const auto clash = outputClashWithInputs(o.batch.out, paths, files)) {
                err << "vando3-cli batch: " << *clash << '\n';
                return 2;
            }
        const int jobs = jobsOf(o.batch, err);

        // The CSV reaches its name only when complete; standard output is checked by the
        // program as a whole.
        std::optional<WholeFileWriter> file;
        if (!o.batch.out.empty()) file.emplace(pathFromUtf8(o.batch.out));
        std::ostream& csv = file ? file->stream() : out;
        ProgressLine line(err);
        BatchProgressFn progress;
        if (progressWanted(o.batch, err)) progress = [&](const BatchCounts& c) { line.show(c); };
        const BatchSummary summary = runBatch(files, settings, lib, jobs, csv, progress);
        line.finish();
        if (file) file->commit();
        if (summary.threads < jobs)
            err << "vando3-cli batch: only " << summary.threads << " of " << jobs
                << " threads could be started\n";
        if (summary.unreadFiles + summary.failedGages == 0) return 0;
        err << "vando3-cli batch: " << summary.unreadFiles << " of " << files.size()
            << " files could not be read, " << summary.failedGages
            << " gages could not be computed (status error)\n";
        return someUnread;
    } catch (const std::exception& e) {
        err << e.what() << '\n';
        return 1;
    }
}

}  // namespace vd::cli
