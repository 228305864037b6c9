#include "water_data_values.h"

#include <algorithm>

#include "calendar.h"
#include "errors.h"
#include "flow_values.h"
#include "number_text.h"

namespace vd {
namespace {

constexpr std::string_view kDischarge = "00060";
constexpr std::string_view kDailyMean = "00003";
constexpr std::string_view kCubicFeetPerSecond = "ft^3/s";

bool isDigits(std::string_view s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

int daysInMonth(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year - 1900) ? 29 : days[month - 1];
}

// "YYYY-MM-DD" (a time of day may follow after "T" or a blank) as yyyymmdd.
int dateKey(std::string_view time) {
    const std::string_view date = time.substr(0, 10);
    const std::string_view rest = time.substr(date.size());
    const bool shaped = date.size() == 10 && date[4] == '-' && date[7] == '-' &&
                        isDigits(date.substr(0, 4)) && isDigits(date.substr(5, 2)) &&
                        isDigits(date.substr(8, 2)) &&
                        (rest.empty() || rest.front() == 'T' || rest.front() == ' ');
    if (shaped) {
        const int year = toInteger(date.substr(0, 4));
        const int month = toInteger(date.substr(5, 2));
        const int day = toInteger(date.substr(8, 2));
        if (month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(year, month))
            return year * 10000 + month * 100 + day;
    }
    throw Error(ErrorCode::conversion, "'" + std::string(time) + "' is not a valid date");
}

bool sameValue(double a, double b) {
    return a == b;  // missing days are all `unknown`, so two nulls agree too
}

std::string dateText(int key) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", key / 10000, key / 100 % 100, key % 100);
    return text;
}

}  // namespace

std::string siteNumberOf(std::string_view monitoringLocationId) {
    const std::size_t dash = monitoringLocationId.find('-');
    return std::string(dash == std::string_view::npos ? monitoringLocationId
                                                      : monitoringLocationId.substr(dash + 1));
}

void WaterDataValues::fail(ErrorCode code, const std::string& what, int place) const {
    throw Error(code,
                what + " at " + placeWord_ + " " + std::to_string(place) + " of " + fileName_);
}

void WaterDataValues::add(const WaterDataValue& v, int place) {
    if (v.parameter != kDischarge || v.statistic != kDailyMean) return;
    if (v.unit != kCubicFeetPerSecond)
        fail(ErrorCode::calculation,
             "Daily discharge is given in '" + std::string(v.unit) + "'; only ft^3/s is read",
             place);
    Day day;
    day.place = place;
    try {
        day.date = dateKey(v.time);
        day.q = v.value ? toFloat(*v.value) : unknown;
    } catch (const Error& e) {
        if (e.code() != ErrorCode::conversion) throw;
        fail(ErrorCode::conversion, e.what(), place);
    }
    if (v.site.empty())
        fail(ErrorCode::calculation, "A daily value names no monitoring location", place);

    series_[seriesOf(v.site, v.series)].days.push_back(day);
}

std::size_t WaterDataValues::seriesOf(std::string_view site, std::string_view series) {
    // Files give a series' values one after another, so the last series is checked first.
    if (last_ < series_.size() && lastSite_ == site && series_[last_].series == series)
        return last_;
    auto key = std::make_pair(std::string(site), std::string(series));
    auto it = index_.find(key);
    if (it == index_.end()) {
        it = index_.emplace(key, series_.size()).first;
        series_.push_back({siteNumberOf(site), std::string(series), {}});
    }
    last_ = it->second;
    lastSite_ = std::move(key.first);
    return last_;
}

std::string WaterDataValues::gageName(const Series& s, bool siteHasTwo) {
    if (!siteHasTwo || s.series.empty()) return s.site;
    return s.site + " " + s.series.substr(0, 8);
}

ParsedFlowFile WaterDataValues::finish() const {
    if (series_.empty())
        throw Error(ErrorCode::calculation,
                    "The file \"" + fileName_ +
                        "\" holds no daily mean discharge (parameter 00060, statistic 00003)");
    ParsedFlowFile out;
    out.nwis = true;
    for (const Series& s : series_) {
        const bool siteHasTwo = std::count_if(series_.begin(), series_.end(), [&](const Series& o) {
                                    return o.site == s.site;
                                }) > 1;
        out.names.push_back(gageName(s, siteHasTwo));

        std::vector<Day> days = s.days;
        std::stable_sort(days.begin(), days.end(),
                         [](const Day& a, const Day& b) { return a.date < b.date; });
        bool first = true;
        for (std::size_t i = 0; i < days.size(); ++i) {
            const Day& d = days[i];
            if (i > 0 && days[i - 1].date == d.date) {
                if (!sameValue(days[i - 1].q, d.q))
                    fail(ErrorCode::calculation,
                         "The date " + dateText(d.date) + " is given twice with different values",
                         std::max(days[i - 1].place, d.place));
                continue;
            }
            const int year = d.date / 10000;
            out.records.push_back(
                {year - 1900, d.date / 100 % 100, d.date % 100, d.q, d.place, true, first});
            first = false;
        }
    }
    return out;
}

}  // namespace vd
