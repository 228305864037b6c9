#include "analysis.h"

#include <stdexcept>

#include "errors.h"
#include "flow_reader.h"

namespace vd {
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

}  // namespace

std::string readErrorMessage(const FileReading& reading, const std::string& lineBreak) {
    if (!reading.failure) return {};
    try {
        std::rethrow_exception(reading.failure);
    } catch (const std::exception& e) {
        return readErrorMessage(reading.path, e, lineBreak);
    }
}

Analysis::Analysis(TableReader reader) : reader_(std::move(reader)) {}

FileReading Analysis::readFile(const std::string& path) const {
    FileReading reading;
    reading.path = path;
    try {
        const FileRecords records =
            reader_ ? reader_(path, texts_.seasonStart, texts_.seasonEnd)
                    : readFileRecords(path, texts_.seasonStart, texts_.seasonEnd, files_.get());
        reading.repeatedDates = records.repeatedDates;
        reading.gages = tableGagesOf(records.gages, path,
                                     seasonYearShift(texts_.seasonStart, texts_.seasonEnd));
    } catch (const std::exception&) {
        reading.failure = std::current_exception();
    }
    return reading;
}

std::size_t Analysis::gagesInParsedFile(const std::string& path) const {
    const auto parsed = files_->find(path);
    return parsed ? parsed->names.size() : 0;
}

void Analysis::addReading(const FileReading& reading) {
    if (reading.read()) table_.appendFile(reading.path, reading.gages);
}

FileReading Analysis::addFile(const std::string& path) {
    FileReading reading = readFile(path);
    addReading(reading);
    return reading;
}

std::vector<FileReading> Analysis::addFiles(const std::vector<std::string>& paths) {
    std::vector<FileReading> readings;
    readings.reserve(paths.size());
    for (const std::string& path : paths) readings.push_back(addFile(path));
    return readings;
}

void Analysis::addStoredEntries(const std::vector<run::ParamFileEntry>& entries,
                                const std::function<void(const FileReading&)>& added) {
    run::replayStoredEntries(
        entries,
        [&](const std::string& path) {
            const FileReading reading = addFile(path);
            if (added) added(reading);
            return static_cast<int>(reading.gages.size());
        },
        [&] { return table_.rowCount(); }, [&](int row) { table_.row(row).use = false; });
}

void Analysis::clear() {
    table_.clear();
    files_ = std::make_shared<FlowFileCache>();
    result_.reset();
}

const run::RunResult& Analysis::run(const LogPearsonLibrary& lib, const run::ProgressFn& progress) {
    result_.reset();
    result_ = run::runCalculation(runInput(), lib, progress);
    return *result_;
}

const run::RunResult& Analysis::lastRun() const {
    if (!result_) throw Error(ErrorCode::calculation, "No calculation has been run");
    return *result_;
}

run::ExcursionTable Analysis::excursions(int row) const {
    return run::excursionTableOfRow(lastRun(), row);
}

std::string Analysis::reportText() const {
    const run::RunResult& r = lastRun();
    return run::reportText(r, run::reportSettingsOf(r.settings));
}

std::string Analysis::excursionText(int row) const {
    const run::RunSettings& settings = lastRun().settings;
    return run::excursionCopyText(excursions(row), settings.comments, settings.season.startDay,
                                  settings.season.endDay, settings.bioScope);
}

std::vector<GageOutcome> computeFileGages(const std::string& path, const run::RunSettings& settings,
                                          const LogPearsonLibrary& lib,
                                          const run::GageExtras& extras) {
    // Parsed once, read twice: for the record's years (bounds only), then for the period's
    // days.
    FlowFileCache parsed;
    const run::Season& season = settings.season;
    const std::vector<GageSeries> record = readGageSeries(path, season.startText, season.endText,
                                                          {}, &parsed, SeriesContent::boundsOnly);
    std::vector<GageSeries> series = readGageSeries(path, season.startText, season.endText,
                                                    periodYears(record, settings), &parsed);
    std::vector<GageOutcome> outcomes(series.size());
    for (std::size_t g = 0; g < series.size(); ++g) {
        const int gageInFile = static_cast<int>(g) + 1;
        try {
            outcomes[g].result =
                run::computeGage(std::move(series[g]), {path, gageInFile}, settings, lib, {},
                                 run::SearchPath::reuse, extras);
        } catch (const std::exception& e) {
            outcomes[g].error = e.what();
        }
    }
    return outcomes;
}

}  // namespace vd
