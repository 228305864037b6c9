// Restates a classic tab-delimited daily-value file as the Water Data API would serve the
// same days: as its CSV or its GeoJSON. Tests read both forms against the original.
#pragma once

#include <algorithm>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace vd::test {

inline constexpr const char* kRestatedSeries = "a1b2c3d4e5f60718293a4b5c6d7e8f90";

struct RestatedDay {
    std::string site;    // "09506000"
    std::string date;    // "YYYY-MM-DD"
    std::string value;   // empty: a missing day (null)
    std::string status;  // "Approved" or "Provisional"
    std::string series = kRestatedSeries;
};

inline std::vector<std::string> tabFields(std::string_view line) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        out.emplace_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) return out;
        start = tab + 1;
    }
}

// The discharge days of a classic file with one block of columns, in file order.
inline std::vector<RestatedDay> classicDays(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    std::size_t valueColumn = 3;
    std::vector<RestatedDay> days;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.starts_with("#") || line.starts_with("5s")) continue;
        const std::vector<std::string> f = tabFields(line);
        if (line.starts_with("agency_cd")) {
            for (std::size_t i = 0; i < f.size(); ++i)
                if (f[i].ends_with("_00060_00003")) valueColumn = i;
            continue;
        }
        const std::string value = valueColumn < f.size() ? f[valueColumn] : "";
        const std::string code = valueColumn + 1 < f.size() ? f[valueColumn + 1] : "";
        const bool number = !value.empty() && value.find_first_not_of("0123456789.") == value.npos;
        days.push_back({f.at(1), f.at(2), number ? value : "",
                        code.starts_with("P") ? "Provisional" : "Approved"});
    }
    return days;
}

inline std::string asWaterDataCsv(const std::vector<RestatedDay>& days) {
    std::string out =
        "x,y,id,time_series_id,monitoring_location_id,parameter_code,statistic_id,time,value,"
        "unit_of_measure,approval_status,qualifier,last_modified\n";
    int id = 0;
    for (const RestatedDay& d : days)
        out += ",," + std::to_string(++id) + "," + d.series + ",USGS-" + d.site + ",00060,00003," +
               d.date + "," + d.value + ",ft^3/s," + d.status + ",,2024-01-02T03:04:05+00:00\n";
    return out;
}

// One page of the collection; `nextHref` (if any) is its "next" link.
inline std::string asWaterDataPage(const std::vector<RestatedDay>& days,
                                   const std::string& nextHref) {
    std::string out = "{\"type\":\"FeatureCollection\",\"features\":[";
    int id = 0;
    for (const RestatedDay& d : days) {
        if (id > 0) out += ",";
        out += "\n{\"type\":\"Feature\",\"id\":\"" + std::to_string(++id) +
               "\",\"geometry\":null,\"properties\":{\"time_series_id\":\"" + d.series +
               "\",\"monitoring_location_id\":\"USGS-" + d.site +
               "\",\"parameter_code\":\"00060\",\"statistic_id\":\"00003\",\"time\":\"" + d.date +
               "\",\"value\":" + (d.value.empty() ? "null" : "\"" + d.value + "\"") +
               ",\"unit_of_measure\":\"ft^3/s\",\"approval_status\":\"" + d.status +
               "\",\"qualifier\":null,\"last_modified\":\"2024-01-02T03:04:05+00:00\"}}";
    }
    out += "],\"numberReturned\":" + std::to_string(id) + ",\"links\":[";
    if (!nextHref.empty())
        out += "{\"rel\":\"next\",\"type\":\"application/geo+json\",\"href\":\"" + nextHref + "\"}";
    return out + "]}\n";
}

inline std::string asWaterDataGeoJson(const std::vector<RestatedDay>& days) {
    return asWaterDataPage(days, "");
}

// The service promises no order: the same days backwards.
inline std::vector<RestatedDay> reversed(std::vector<RestatedDay> days) {
    std::reverse(days.begin(), days.end());
    return days;
}

}  // namespace vd::test
