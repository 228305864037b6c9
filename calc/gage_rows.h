// What the gage table lists for a flow file: one row per gage with its record period in
// whole seasons. Shared by the main window and the command-line program.
#pragma once

#include <exception>
#include <string>
#include <vector>

#include "flow_file_cache.h"
#include "flow_values.h"

namespace vd {

struct TableGage {
    std::string name;    // gage name as read
    std::string file;    // file name without folder and extension
    std::string record;  // "1990-2021", or "N/A" with less than one full season
    std::string start;   // first year, or "N/A"
    std::string end;     // last year, or "N/A"
    bool use = false;    // marked for use when the record holds a full season
    int firstYear = 0;   // year in which the first complete season ends
    int lastYear = 0;    // year in which the last complete season ends
};

// Days before the month (a year without 29 February) plus the day.
int seasonDayOfYear(int month, int day);

// 1 when the season runs over the end of the year, else 0.
int seasonYearShift(const std::string& seasonStart, const std::string& seasonEnd);

// A gage's record as a reading of its whole file finds it: the year its first season
// starts in and the year its last complete season ends in (fewer than one season: the
// last is before the first).
struct GageRecord {
    std::string name;
    int firstSeasonStart = 0;
    int lastSeasonEnd = 0;
};

// The gages of one file and whether some gage repeats a date (the later record counts).
struct FileRecords {
    std::vector<GageRecord> gages;
    bool repeatedDates = false;
};

// Reads `path` for the season with no restriction of years, through `cache` when given.
// Throws what the reader throws.
FileRecords readFileRecords(const std::string& path, const std::string& seasonStart,
                            const std::string& seasonEnd, FlowFileCache* cache = nullptr);

// The rows the table lists for the gages of the file at `path`; `yearShift` is
// seasonYearShift of the season.
std::vector<TableGage> tableGagesOf(const std::vector<GageRecord>& gages, const std::string& path,
                                    int yearShift);

// Reads `path` as readFileRecords does and lists its gages as the table does.
std::vector<TableGage> readGagesForTable(const std::string& path, const std::string& seasonStart,
                                         const std::string& seasonEnd,
                                         FlowFileCache* cache = nullptr);

// The message shown when a file cannot be read, its lines ended by `lineBreak` (the
// command line keeps the bare CR its messages always had; a window uses LF).
std::string readErrorMessage(const std::string& path, const std::exception& e,
                             const std::string& lineBreak = "\r");

// " 01", " 123": a table row number.
std::string rowNumberText(int row);

}  // namespace vd
