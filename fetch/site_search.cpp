#include "site_search.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>

#include "errors.h"
#include "json_answer.h"
#include "water_data_pages.h"

namespace vd::fetch {
namespace {

struct StateCode {
    const char* letters;
    const char* fips;
};

// The states, the district and the territories the service lists gages in.
constexpr std::array<StateCode, 56> kStates{{
    {"AL", "01"}, {"AK", "02"}, {"AZ", "04"}, {"AR", "05"}, {"CA", "06"}, {"CO", "08"},
    {"CT", "09"}, {"DE", "10"}, {"DC", "11"}, {"FL", "12"}, {"GA", "13"}, {"HI", "15"},
    {"ID", "16"}, {"IL", "17"}, {"IN", "18"}, {"IA", "19"}, {"KS", "20"}, {"KY", "21"},
    {"LA", "22"}, {"ME", "23"}, {"MD", "24"}, {"MA", "25"}, {"MI", "26"}, {"MN", "27"},
    {"MS", "28"}, {"MO", "29"}, {"MT", "30"}, {"NE", "31"}, {"NV", "32"}, {"NH", "33"},
    {"NJ", "34"}, {"NM", "35"}, {"NY", "36"}, {"NC", "37"}, {"ND", "38"}, {"OH", "39"},
    {"OK", "40"}, {"OR", "41"}, {"PA", "42"}, {"RI", "44"}, {"SC", "45"}, {"SD", "46"},
    {"TN", "47"}, {"TX", "48"}, {"UT", "49"}, {"VT", "50"}, {"VA", "51"}, {"WA", "53"},
    {"WV", "54"}, {"WI", "55"}, {"WY", "56"}, {"AS", "60"}, {"GU", "66"}, {"MP", "69"},
    {"PR", "72"}, {"VI", "78"},
}};

bool allDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<double> number(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::string degrees(double v) {
    std::array<char, 32> text{};
    const auto [end, ec] = std::to_chars(text.data(), text.data() + text.size(), v);
    return ec == std::errc() ? std::string(text.data(), end) : std::string("0");
}

// A record from `begin` to `end` (either may be empty or null: open) that meets the dates.
bool meets(std::string_view begin, std::string_view end, std::string_view from,
           std::string_view to) {
    const std::string_view b = begin.substr(0, 10);
    const std::string_view e = end.substr(0, 10);
    if (!to.empty() && !b.empty() && b > to) return false;
    if (!from.empty() && !e.empty() && e < from) return false;
    return true;
}

}  // namespace

std::optional<std::string> stateFipsCode(std::string_view text) {
    if (allDigits(text) && text.size() <= 2) {
        // Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) on "0" + string.
        std::string code = text.size() == 1 ? std::string("0") : std::string();
        code += text;
        for (const StateCode& s : kStates)
            if (code == s.fips) return code;
        return std::nullopt;
    }
    if (text.size() != 2) return std::nullopt;
    const std::string upper = {
        static_cast<char>(std::toupper(static_cast<unsigned char>(text[0]))),
        static_cast<char>(std::toupper(static_cast<unsigned char>(text[1])))};
    for (const StateCode& s : kStates)
        if (upper == s.letters) return std::string(s.fips);
    return std::nullopt;
}

std::optional<std::string> hucPrefixOf(std::string_view text) {
    if (!allDigits(text) || text.size() < 2 || text.size() > 12 || text.size() % 2 != 0)
        return std::nullopt;
    return std::string(text);
}

std::optional<BoundingBox> boundingBox(std::string_view text) {
    std::array<double, 4> v{};
    for (std::size_t i = 0; i < v.size(); ++i) {
        const std::size_t comma = text.find(',');
        if ((comma == std::string_view::npos) != (i == v.size() - 1)) return std::nullopt;
        const auto n = number(text.substr(0, comma));
        if (!n) return std::nullopt;
        v[i] = *n;
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    const BoundingBox box{v[0], v[1], v[2], v[3]};
    const auto longitude = [](double x) { return x >= -180 && x <= 180; };
    const auto latitude = [](double y) { return y >= -90 && y <= 90; };
    if (!longitude(box.west) || !longitude(box.east) || !latitude(box.south) ||
        !latitude(box.north) || box.west >= box.east || box.south >= box.north)
        return std::nullopt;
    return box;
}

std::string locationsUrl(std::string_view baseUrl, const SiteFilter& filter) {
    std::string url = trimmedBase(baseUrl) +
                      "/collections/monitoring-locations/items?f=json&skipGeometry=true"
                      "&site_type_code=ST&limit=10000";
    if (!filter.stateCode.empty()) url += "&state_code=" + queryEscaped(filter.stateCode);
    if (!filter.countyCode.empty()) url += "&county_code=" + queryEscaped(filter.countyCode);
    if (const auto& b = filter.box)
        url += "&bbox=" + degrees(b->west) + "," + degrees(b->south) + "," + degrees(b->east) +
               "," + degrees(b->north);
    if (!filter.hucPrefix.empty()) {
        std::string like = "hydrologic_unit_code LIKE '";
        like += filter.hucPrefix;
        like += "%'";
        url += "&filter-lang=cql2-text&filter=" + queryEscaped(like);
    }
    return url;
}

std::string seriesUrl(std::string_view baseUrl, const std::vector<std::string>& locationIds) {
    return trimmedBase(baseUrl) +
           "/collections/time-series-metadata/items?f=json&skipGeometry=true"
           "&parameter_code=00060&statistic_id=00003&limit=10000&monitoring_location_id=" +
           idList(locationIds);
}

LocationsPage parseLocationsPage(const std::string& body, std::string_view url,
                                 const SiteFilter& filter) {
    const Json doc = parsedAnswer(body, url);
    LocationsPage page;
    for (const Json& f : featuresOf(doc, url)) {
        const auto props = f.is_object() ? f.find("properties") : f.end();
        if (props == f.end() || !props->is_object()) continue;
        if (!textOr(*props, "hydrologic_unit_code").starts_with(filter.hucPrefix)) continue;
        std::string id = textOr(f, "id");
        if (id.empty()) id = textOr(*props, "monitoring_location_id");
        try {
            page.sites.push_back({checkedSite(id), textOr(*props, "monitoring_location_name")});
        } catch (const Error& e) {
            if (!isFetchFailure(e.code())) throw;
            // No site number: nothing to ask for, and nothing to name a file after.
        }
    }
    page.next = nextLink(doc);
    return page;
}

SeriesPage parseSeriesPage(const std::string& body, std::string_view url, std::string_view start,
                           std::string_view end) {
    const Json doc = parsedAnswer(body, url);
    SeriesPage page;
    for (const Json& f : featuresOf(doc, url)) {
        const auto props = f.is_object() ? f.find("properties") : f.end();
        if (props == f.end() || !props->is_object()) continue;
        if (textOr(*props, "parameter_code", "00060") != "00060" ||
            textOr(*props, "statistic_id", "00003") != "00003")
            continue;
        if (!meets(textOr(*props, "begin"), textOr(*props, "end"), start, end)) continue;
        const std::string location = textOr(*props, "monitoring_location_id");
        if (!location.empty()) page.locations.push_back(location);
    }
    page.next = nextLink(doc);
    return page;
}

}  // namespace vd::fetch
