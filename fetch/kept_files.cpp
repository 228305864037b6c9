#include "kept_files.h"

#include <system_error>

#include "calendar_date.h"
#include "input_file.h"
#include "utf8_path.h"

namespace vd::fetch {
namespace {

constexpr std::string_view kFirstLine =
    "# U.S. Geological Survey daily values, from the Water Data API";
constexpr std::string_view kSiteLine = "#    USGS ";

std::vector<std::string_view> lineFields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos) return fields;
        line.remove_prefix(tab + 1);
    }
}

std::string approvalOf(std::string_view code) {
    if (code == "A") return "Approved";
    if (code == "P") return "Provisional";
    return std::string(code);
}

// Reads the lines of a file fetching wrote into `kept`; false at the first line that is not
// as fetching writes it.
bool readLines(std::string_view text, KeptFile& kept) {
    bool header = true;
    bool first = true;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (first && line != kFirstLine) return false;
        first = false;
        if (header) {
            if (line.starts_with(kSiteLine)) {
                const std::string_view rest = line.substr(kSiteLine.size());
                const std::size_t gap = rest.find(' ');
                kept.series.siteNumber = std::string(rest.substr(0, gap));
                if (gap != std::string_view::npos)
                    kept.series.siteName = std::string(rest.substr(gap + 1));
            } else if (line.starts_with("agency_cd\t")) {
                const auto f = lineFields(line);
                if (f.size() != 5) return false;
                kept.series.seriesId = std::string(f[3].substr(0, f[3].find('_')));
            } else if (line.starts_with("5s\t")) {
                header = false;
            }
            continue;
        }
        const auto f = lineFields(line);
        if (f.size() != 5 || f[0] != "USGS" || f[1] != kept.series.siteNumber || !isoDate(f[2]))
            return false;
        DailyValue day{kept.series.seriesId, std::string(f[2]), std::nullopt, approvalOf(f[4]),
                       "USGS-" + kept.series.siteNumber};
        if (!f[3].empty()) day.value = std::string(f[3]);
        if (!kept.series.days.empty() && kept.series.days.back().date >= day.date) return false;
        kept.series.days.push_back(std::move(day));
    }
    return !header && !kept.series.siteNumber.empty();
}

}  // namespace

std::optional<KeptFile> readKeptFile(const std::filesystem::path& path) {
    KeptFile kept;
    kept.path = path;
    try {
        if (!readLines(readInputFile(utf8Text(path)), kept)) return std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
    return kept;
}

std::vector<KeptFile> keptFilesOf(const std::filesystem::path& dir, const std::string& siteNumber) {
    std::vector<KeptFile> files;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = utf8Text(it->path().filename());
        if (!name.starts_with(siteNumber + "_") || !name.ends_with(".txt")) continue;
        if (auto kept = readKeptFile(it->path()); kept && kept->series.siteNumber == siteNumber)
            files.push_back(std::move(*kept));
    }
    return files;
}

std::string dayAfter(const std::string& date) {
    IsoDate d = isoDate(date).value_or(IsoDate{});
    if (++d.day > daysInMonth(d.year, d.month)) {
        d.day = 1;
        if (++d.month > 12) {
            d.month = 1;
            ++d.year;
        }
    }
    const auto twoDigits = [](int n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
    std::string text = std::to_string(d.year);
    text += '-';
    text += twoDigits(d.month);
    text += '-';
    text += twoDigits(d.day);
    return text;
}

std::optional<std::string> firstDayToRenew(const KeptFile& kept) {
    const std::vector<DailyValue>& days = kept.series.days;
    if (days.empty()) return std::nullopt;
    for (const DailyValue& d : days)
        if (d.approval != "Approved") return d.date;
    return dayAfter(days.back().date);
}

std::vector<DailyValue> renewedDays(const KeptFile& kept, std::vector<DailyValue> fresh,
                                    const std::string& from) {
    const std::string series = fresh.empty() ? kept.series.seriesId : fresh.front().series;
    std::vector<DailyValue> days;
    for (const DailyValue& d : kept.series.days)
        if (d.date < from) {
            days.push_back(d);
            days.back().series = series;
        }
    for (DailyValue& d : fresh)
        if (d.date >= from) days.push_back(std::move(d));
    return days;
}

}  // namespace vd::fetch
