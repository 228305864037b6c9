// The batch: every gage of many flow files computed independently with one run's settings,
// on several threads, written as CSV lines in input order.
#pragma once

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "batch_files.h"
#include "run_settings.h"

namespace vd {
class LogPearsonLibrary;
}

namespace vd::cli {

struct BatchCounts {
    std::size_t filesDone = 0;
    std::size_t filesTotal = 0;
    std::size_t gagesDone = 0;
};
// Called on the writing thread a few times a second and once at the end.
using BatchProgressFn = std::function<void(const BatchCounts&)>;

struct BatchSummary {
    std::size_t gages = 0;
    std::size_t unreadFiles = 0;  // files that gave an error line
    std::size_t failedGages = 0;  // gages whose computation failed
    int threads = 0;              // the worker threads that could be started
};

// The CSV lines (without header) of one file's gages; a file that cannot be read gives one
// error line. The period is the settings' `all` (each gage's record in whole seasons, as the
// gage table shows it) or `years`.
struct FileLines {
    std::string text;
    std::size_t gages = 0;
    bool unread = false;
    std::size_t failedGages = 0;
};
FileLines csvLinesOfFile(const std::string& path, const run::RunSettings& settings,
                         const LogPearsonLibrary& lib);
FileLines csvLinesOfInput(const BatchInput& input, const run::RunSettings& settings,
                          const LogPearsonLibrary& lib);

// Writes the header and every file's lines to `out`, in the order of `files`, whatever
// the number of threads. A worker holds one file's records at a time; lines wait only
// until the files before theirs are written. When not every thread can be started the
// batch goes on with those that could; when none can, it throws a thread-start error.
BatchSummary runBatch(const std::vector<BatchInput>& files, const run::RunSettings& settings,
                      const LogPearsonLibrary& lib, int jobs, std::ostream& out,
                      const BatchProgressFn& progress = {});

}  // namespace vd::cli
