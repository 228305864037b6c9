// One analysis, as a front end drives it: the settings as the user typed them, the gage
// table of the flow files added, the files parsed once, and the results of its last run.
// The window, `vando3-cli run`, `excursions`, `table` and `batch` all work through it.
//
//     vd::Analysis analysis;
//     vd::run::SettingsTexts texts;              // defaults: 7Q10 and 4B3, Apr 1 - Mar 31
//     texts.seasonStart = "Jun 1";
//     texts.seasonEnd = "Oct 31";
//     analysis.setSettings(texts);
//     analysis.addFile("gage.txt");               // one table row per gage of the file
//     analysis.table().row(0).use = false;        // marks and years are edited in the table
//     const auto& result = analysis.run(library); // numbers, and the results table's cells
//     std::cout << analysis.reportText() << analysis.excursionText(1);
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine.h"
#include "excursion_table.h"
#include "flow_file_cache.h"
#include "gage_computation.h"
#include "gage_rows.h"
#include "gage_table.h"
#include "log_pearson_library.h"
#include "report_text.h"
#include "run_settings.h"
#include "vd_paramfile.h"

namespace vd {

// Reads a file's gages for the table with the season given (start and end texts). The
// analysis's own reader parses each file once, into its cache; a test may supply another.
using TableReader = std::function<FileRecords(const std::string& path, const std::string& start,
                                              const std::string& end)>;

// What reading one file for the table found.
struct FileReading {
    std::string path;
    // The file's gages as the table lists them, in file order (none when it could not be
    // read, or holds no gage).
    std::vector<TableGage> gages;
    bool repeatedDates = false;  // a gage repeats a date; the later value counts
    // Why the file could not be read: what the reader threw (readErrorMessage words it).
    std::exception_ptr failure;
    bool read() const { return !failure; }
};

// The message a file that could not be read gives (see readErrorMessage).
std::string readErrorMessage(const FileReading& reading, const std::string& lineBreak = "\r");

class Analysis {
  public:
    explicit Analysis(TableReader reader = {});

    // --- Settings: every text as typed; a run converts and checks them. ---------------------
    void setSettings(run::SettingsTexts texts) { texts_ = std::move(texts); }
    const run::SettingsTexts& settings() const { return texts_; }
    run::SettingsTexts& settings() { return texts_; }

    // --- Gages ------------------------------------------------------------------------------
    // Reads `path` for the season of the settings, without adding it to the table.
    FileReading readFile(const std::string& path) const;
    // Appends the rows of a file read (nothing for a file not read).
    void addReading(const FileReading& reading);
    // Reads and appends one file.
    FileReading addFile(const std::string& path);
    // Reads and appends each file in turn; the readings, in the same order.
    std::vector<FileReading> addFiles(const std::vector<std::string>& paths);
    // Replays the rows a parameter file stored (see replayStoredEntries); `added` hears of
    // each file read.
    void addStoredEntries(const std::vector<run::ParamFileEntry>& entries,
                          const std::function<void(const FileReading&)>& added = {});

    // The gages of the file at `path` as its reading parsed them (0 when not read): a file of
    // more gages than the table takes is refused by its reading after the 100th.
    std::size_t gagesInParsedFile(const std::string& path) const;

    const run::GageTable& table() const { return table_; }
    run::GageTable& table() { return table_; }
    // Drops every file whose rows are all unmarked; the number of files dropped.
    int removeUnused() { return table_.removeUnusedFiles(); }
    // Empties the table and forgets the parsed files.
    void clear();

    // --- Runs -------------------------------------------------------------------------------
    // Computes every gage in use; the result stays with the analysis until the next run.
    // Throws the calculator's errors (a refused setting, an unreadable file).
    const run::RunResult& run(const LogPearsonLibrary& lib, const run::ProgressFn& progress = {});
    // The last run's results; none before the first run.
    const run::RunResult* result() const { return result_ ? &*result_ : nullptr; }
    // The excursion periods of results row `row` (1-based) of the last run.
    run::ExcursionTable excursions(int row) const;
    // What "Copy to clipboard" gives: the last run's report, and the excursion periods of a
    // results row with the lines that say how they were counted.
    std::string reportText() const;
    std::string excursionText(int row) const;

    // The run's input: the settings and the table's rows, with the parsed files.
    run::RunInput runInput() const { return {texts_, table_.rows(), files_}; }

  private:
    const run::RunResult& lastRun() const;

    TableReader reader_;
    run::SettingsTexts texts_;
    run::GageTable table_;
    std::shared_ptr<FlowFileCache> files_ = std::make_shared<FlowFileCache>();
    std::optional<run::RunResult> result_;
};

// --- One file at a time, for a batch of many files -----------------------------------------

// One gage of a file computed on its own: its results, or why it could not be computed.
struct GageOutcome {
    std::optional<run::GageResult> result;
    std::string error;
};

// The gages of one file, each read for the period the settings give it (the whole record
// in full seasons, or the years chosen) and computed on its own, with no table: what a
// batch does for every file. Throws when the file cannot be read.
std::vector<GageOutcome> computeFileGages(const std::string& path, const run::RunSettings& settings,
                                          const LogPearsonLibrary& lib,
                                          const run::GageExtras& extras = {});

}  // namespace vd
