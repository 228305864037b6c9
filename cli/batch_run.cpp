#include "batch_run.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "flow_file_cache.h"
#include "flow_reader.h"
#include "gage_computation.h"
#include "log_pearson_library.h"
#include "results_csv.h"

namespace vd::cli {
namespace {

// The season-start years each gage is read for, as the table run asks for them: a gage's
// whole record in full seasons (the table's Record column) or the years chosen; a gage
// without a full season gets the empty period whatever the choice.
GageYears periodYears(const std::vector<GageSeries>& record, const run::RunSettings& settings) {
    const int adjust = settings.season.yearAdjust;
    const run::PeriodChoice& p = settings.period;
    GageYears years;
    for (const GageSeries& g : record) {
        const int firstYear = g.firstYear + adjust;  // years as the table shows them, minus 1900
        const int lastYear = g.lastYear;
        int first = 1;
        int last = 0;
        if (firstYear <= lastYear) {
            const bool chosen = p.kind == run::PeriodKind::years;
            first = chosen ? p.firstYear - 1900 : firstYear;
            last = chosen ? p.lastYear - 1900 : lastYear;
        }
        years.first.push_back(first - adjust);
        years.last.push_back(last - adjust);
    }
    return years;
}

// The extras of a result that the CSV does not hold.
constexpr run::GageExtras numbersOnly{false, false, false};

}  // namespace

FileLines csvLinesOfFile(const std::string& path, const run::RunSettings& settings,
                         const LogPearsonLibrary& lib) {
    const run::ResultsCsv csv(settings);
    FileLines lines;
    std::vector<GageSeries> series;
    try {
        // Parsed once, read twice: for the record's years (bounds only), then for the
        // period's days.
        FlowFileCache parsed;
        const run::Season& season = settings.season;
        const std::vector<GageSeries> record = readGageSeries(
            path, season.startText, season.endText, {}, &parsed, SeriesContent::boundsOnly);
        series = readGageSeries(path, season.startText, season.endText,
                                periodYears(record, settings), &parsed);
    } catch (const std::exception& e) {
        lines.unread = true;
        lines.text = csv.errorLine(path, 0, e.what());
        return lines;
    }
    for (std::size_t g = 0; g < series.size(); ++g) {
        const int gageInFile = static_cast<int>(g) + 1;
        try {
            lines.text +=
                csv.gageLine(run::computeGage(std::move(series[g]), {path, gageInFile}, settings,
                                              lib, {}, run::SearchPath::reuse, numbersOnly));
        } catch (const std::exception& e) {
            ++lines.failedGages;
            lines.text += csv.errorLine(path, gageInFile, e.what());
        }
        ++lines.gages;
    }
    return lines;
}

FileLines csvLinesOfInput(const BatchInput& input, const run::RunSettings& settings,
                          const LogPearsonLibrary& lib) {
    if (input.unreadable.empty()) return csvLinesOfFile(input.path, settings, lib);
    FileLines lines;
    lines.unread = true;
    lines.text = run::ResultsCsv(settings).errorLine(input.path, 0, input.unreadable);
    return lines;
}

namespace {

class Batch {
  public:
    Batch(const std::vector<BatchInput>& files, const run::RunSettings& settings,
          const LogPearsonLibrary& lib)
        : files_(files), settings_(settings), lib_(lib), done_(files.size()) {}

    BatchSummary run(int jobs, std::ostream& out, const BatchProgressFn& progress) {
        BatchSummary summary;
        std::vector<std::jthread> workers = startWorkers(jobs);
        summary.threads = static_cast<int>(workers.size());
        out << run::ResultsCsv(settings_).headerLine();
        for (std::size_t f = 0; f < files_.size(); ++f) {
            const FileLines lines = waitFor(f, progress);
            out << lines.text;
            summary.gages += lines.gages;
            summary.unreadFiles += lines.unread ? 1 : 0;
            summary.failedGages += lines.failedGages;
        }
        out.flush();
        if (progress) progress(counts());
        return summary;
    }

  private:
    std::vector<std::jthread> startWorkers(int jobs) {
        std::vector<std::jthread> workers;
        try {
            for (int j = 0; j < std::max(1, jobs); ++j) workers.emplace_back([this] { work(); });
        } catch (const std::system_error& e) {
            if (workers.empty())
                throw ThreadStartError(std::string("Cannot start a thread to compute the gages: ") +
                                       e.code().message());
        }
        return workers;
    }

    void work() {
        for (std::size_t f = next_++; f < files_.size(); f = next_++) {
            FileLines lines = csvLinesOfInput(files_[f], settings_, lib_);
            gagesDone_ += lines.gages;
            const std::lock_guard lock(mutex_);
            done_[f] = std::move(lines);
            ++filesDone_;
            ready_.notify_one();
        }
    }

    // The lines of file f once computed (and no longer kept); reports progress while waiting.
    FileLines waitFor(std::size_t f, const BatchProgressFn& progress) {
        constexpr auto tick = std::chrono::milliseconds(200);
        std::unique_lock lock(mutex_);
        while (!done_[f]) {
            ready_.wait_for(lock, tick);
            const auto now = std::chrono::steady_clock::now();
            if (progress && now - lastReport_ >= tick) {
                lastReport_ = now;
                lock.unlock();
                progress(counts());
                lock.lock();
            }
        }
        FileLines lines = std::move(*done_[f]);
        done_[f].reset();
        return lines;
    }

    BatchCounts counts() const { return {filesDone_.load(), files_.size(), gagesDone_.load()}; }

    const std::vector<BatchInput>& files_;
    const run::RunSettings& settings_;
    const LogPearsonLibrary& lib_;
    std::atomic<std::size_t> next_ = 0;
    std::atomic<std::size_t> filesDone_ = 0;
    std::atomic<std::size_t> gagesDone_ = 0;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::chrono::steady_clock::time_point lastReport_{};
    std::vector<std::optional<FileLines>> done_;
};

}  // namespace

BatchSummary runBatch(const std::vector<BatchInput>& files, const run::RunSettings& settings,
                      const LogPearsonLibrary& lib, int jobs, std::ostream& out,
                      const BatchProgressFn& progress) {
    return Batch(files, settings, lib).run(jobs, out, progress);
}

}  // namespace vd::cli
