// Finding the stream gages of a region in the Water Data API: the monitoring locations of a
// state, county, hydrologic unit or box, and which of them have daily mean discharge in the
// dates asked for.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "site_number.h"

namespace vd::fetch {

// West, south, east, north in decimal degrees.
struct BoundingBox {
    double west = 0, south = 0, east = 0, north = 0;
};

struct SiteFilter {
    std::string stateCode;   // two-digit FIPS code, "04"
    std::string countyCode;  // three-digit FIPS code within the state, "025"
    std::string hucPrefix;   // the leading digits of the hydrologic unit code, "1506"
    std::optional<BoundingBox> box;
    bool empty() const { return stateCode.empty() && hucPrefix.empty() && !box; }
};

// The FIPS code of a state (or district or territory) given as its two letters ("AZ", any
// case) or its code ("04", "4"); none for anything else.
std::optional<std::string> stateFipsCode(std::string_view text);

// The leading digits of a hydrologic unit code: 2, 4, ... 12 digits; none for anything else.
std::optional<std::string> hucPrefixOf(std::string_view text);

// "W,S,E,N" with west < east and south < north, within -180..180 and -90..90; none else.
std::optional<BoundingBox> boundingBox(std::string_view text);

struct FoundSite {
    SiteId id;
    std::string name;
};

struct LocationsPage {
    std::vector<FoundSite> sites;
    std::optional<std::string> next;
};

struct SeriesPage {
    std::vector<std::string> locations;  // monitoring_location_id of each series in the dates
    std::optional<std::string> next;
};

// The first page of the stream-gage locations the filter takes.
std::string locationsUrl(std::string_view baseUrl, const SiteFilter& filter);
// The first page of the daily-mean-discharge series of `locationIds`.
std::string seriesUrl(std::string_view baseUrl, const std::vector<std::string>& locationIds);

// A page of locations; an entry whose id is no site number, or whose hydrologic unit does
// not start with the filter's prefix, is passed over. Throws a fetch error for no collection.
LocationsPage parseLocationsPage(const std::string& body, std::string_view url,
                                 const SiteFilter& filter);
// A page of series, keeping those whose record meets `start`..`end` (YYYY-MM-DD, either
// empty for an open end).
SeriesPage parseSeriesPage(const std::string& body, std::string_view url, std::string_view start,
                           std::string_view end);

}  // namespace vd::fetch
