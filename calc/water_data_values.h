// Daily values of the Water Data API's `daily` collection, gathered from either of its file
// forms (CSV or GeoJSON) into the records the flow-file reader builds series from.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "errors.h"
#include "flow_text.h"

namespace vd {

// One value of the collection as a file gives it; views stay valid while the text does.
struct WaterDataValue {
    std::string_view site;                  // monitoring_location_id, e.g. "USGS-09506000"
    std::string_view series;                // time_series_id (may be empty)
    std::string_view parameter;             // parameter_code
    std::string_view statistic;             // statistic_id
    std::string_view time;                  // "YYYY-MM-DD", possibly with a time of day after it
    std::optional<std::string_view> value;  // none: null or empty, a missing day
    std::string_view unit;                  // unit_of_measure
};

// Collects the daily mean discharge of every series in order of first appearance; other
// parameters and statistics are passed over.
class WaterDataValues {
  public:
    // `placeWord` names what `place` counts in failures: "line" (CSV) or "feature" (GeoJSON).
    WaterDataValues(std::string fileName, std::string placeWord)
        : fileName_(std::move(fileName)), placeWord_(std::move(placeWord)) {}

    // Throws a conversion error for a date or number that does not convert, a calculation
    // error for a unit
    // other than ft^3/s.
    void add(const WaterDataValue& v, int place);

    // One gage per series, its days sorted by date. Throws a calculation error when a date is given
    // twice in a series with different values, or when no discharge was given at all.
    ParsedFlowFile finish() const;

  private:
    struct Day {
        int date = 0;  // yyyymmdd, the sort key
        double q = 0;
        int place = 0;  // line or feature number
    };
    struct Series {
        std::string site;    // number without the agency prefix
        std::string series;  // time_series_id
        std::vector<Day> days;
    };

    [[noreturn]] void fail(ErrorCode code, const std::string& what, int place) const;
    std::size_t seriesOf(std::string_view site, std::string_view series);
    static std::string gageName(const Series& s, bool siteHasTwo);

    std::string fileName_;
    std::string placeWord_;
    std::vector<Series> series_;
    std::size_t last_ = SIZE_MAX;
    std::string lastSite_;
    std::map<std::pair<std::string, std::string>, std::size_t, std::less<>> index_;
};

// The site number of a monitoring_location_id: "USGS-09506000" gives "09506000".
std::string siteNumberOf(std::string_view monitoringLocationId);

}  // namespace vd
