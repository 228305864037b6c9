#include "gage_rows.h"

#include <filesystem>

#include "calendar.h"
#include "errors.h"
#include "flow_reader.h"
#include "season_date.h"
#include "utf8_path.h"
#include "vando_version.h"

namespace vd {

int seasonDayOfYear(int month, int day) {
    return DaysByMonth(false, month) + day;
}

int seasonYearShift(const std::string& seasonStart, const std::string& seasonEnd) {
    const SeasonDate a = parseSeasonDate(seasonStart);
    const SeasonDate b = parseSeasonDate(seasonEnd);
    if (!a.valid() || !b.valid()) return 0;
    return seasonDayOfYear(a.month, a.day) > seasonDayOfYear(b.month, b.day) ? 1 : 0;
}

FileRecords readFileRecords(const std::string& path, const std::string& seasonStart,
                            const std::string& seasonEnd, FlowFileCache* cache) {
    FileSeries read = readFileSeries(path, seasonStart, seasonEnd, {}, cache);
    FileRecords out;
    out.repeatedDates = read.repeatedDates;
    out.gages.reserve(read.gages.size());
    for (const GageSeries& g : read.gages)
        out.gages.push_back({g.name, g.firstYear + 1900, g.lastYear + 1900});
    return out;
}

std::vector<TableGage> readGagesForTable(const std::string& path, const std::string& seasonStart,
                                         const std::string& seasonEnd, FlowFileCache* cache) {
    return tableGagesOf(readFileRecords(path, seasonStart, seasonEnd, cache).gages, path,
                        seasonYearShift(seasonStart, seasonEnd));
}

std::vector<TableGage> tableGagesOf(const std::vector<GageRecord>& gages, const std::string& path,
                                    int adjust) {
    const std::string file = utf8Text(pathFromUtf8(path).stem());
    std::vector<TableGage> rows;
    for (const GageRecord& read : gages) {
        TableGage g;
        g.name = read.name;
        g.file = file;
        g.firstYear = read.firstSeasonStart + adjust;
        g.lastYear = read.lastSeasonEnd;
        // One full season is a record: its first and last year are the same.
        if (g.firstYear <= g.lastYear) {
            g.record = std::to_string(g.firstYear) + "-" + std::to_string(g.lastYear);
            g.start = std::to_string(g.firstYear);
            g.end = std::to_string(g.lastYear);
            g.use = true;
        } else {
            g.record = g.start = g.end = "N/A";
        }
        rows.push_back(std::move(g));
    }
    return rows;
}

std::string readErrorMessage(const std::string& path, const std::exception& e,
                             const std::string& lineBreak) {
    const std::string kind(classWordOf(e));
    return std::string("VANDO ") + version::text + " is unable to read the file \"" + path +
           "\". Please confirm " + lineBreak +
           "that this file exists and that it is a valid flow file in text format." + lineBreak +
           lineBreak + "(Exception class name = " + kind + ", message = " + e.what() + ")";
}

std::string rowNumberText(int row) {
    std::string digits = std::to_string(row);
    if (digits.size() < 2) digits.insert(0, 2 - digits.size(), '0');
    return " " + digits;
}

}  // namespace vd
