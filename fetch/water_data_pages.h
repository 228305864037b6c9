// The Water Data API's requests and answers as the fetching needs them: the `daily`
// collection's pages of daily mean discharge and a site's entry in `monitoring-locations`.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vd::fetch {

inline constexpr const char* kDefaultBaseUrl = "https://api.waterdata.usgs.gov/ogcapi/v0";

struct DailyValue {
    std::string series;                // time_series_id
    std::string date;                  // YYYY-MM-DD
    std::optional<std::string> value;  // none: a missing day
    std::string approval;              // approval_status
    std::string location;              // monitoring_location_id, "USGS-09506000"
};

struct DailyPage {
    std::vector<DailyValue> values;
    std::optional<std::string> next;  // the href of the "next" link
};

// The first page of a site's daily mean discharge from `start` to `end` (YYYY-MM-DD,
// either may be empty for an open end).
std::string dailyUrl(std::string_view baseUrl, std::string_view locationId, std::string_view start,
                     std::string_view end);

// The same for several sites in one request (the service takes a comma-separated list).
std::string dailyUrl(std::string_view baseUrl, const std::vector<std::string>& locationIds,
                     std::string_view start, std::string_view end);

// A query value: letters, digits and "-._~" stay, the rest is %-escaped.
std::string queryEscaped(std::string_view text);
// Escaped ids joined by commas.
std::string idList(const std::vector<std::string>& locationIds);
// The address without its trailing slashes.
std::string trimmedBase(std::string_view baseUrl);

std::string locationUrl(std::string_view baseUrl, std::string_view locationId);

// Throws a fetch error when the page is no GeoJSON FeatureCollection (a body cut short too).
DailyPage parseDailyPage(const std::string& body, std::string_view url);

// The monitoring_location_name of a monitoring-locations answer (a feature, or a
// collection holding it). Throws a fetch error when it names none.
std::string parseLocationName(const std::string& body, std::string_view url);

}  // namespace vd::fetch
