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
};

struct DailyPage {
    std::vector<DailyValue> values;
    std::optional<std::string> next;  // the href of the "next" link
};

// The first page of a site's daily mean discharge from `start` to `end` (YYYY-MM-DD,
// either may be empty for an open end).
std::string dailyUrl(std::string_view baseUrl, std::string_view locationId, std::string_view start,
                     std::string_view end);

std::string locationUrl(std::string_view baseUrl, std::string_view locationId);

// Throws a fetch error when the page is no GeoJSON FeatureCollection (a body cut short too).
DailyPage parseDailyPage(const std::string& body, std::string_view url);

// The monitoring_location_name of a monitoring-locations answer (a feature, or a
// collection holding it). Throws a fetch error when it names none.
std::string parseLocationName(const std::string& body, std::string_view url);

}  // namespace vd::fetch
