// Dates as people write them for requests and limits (YYYY-MM-DD), checked against the real
// calendar: the season dates' rule of lowering a day beyond the month does not apply here.
#pragma once

#include <optional>
#include <string_view>

namespace vd {

struct IsoDate {
    int year = 0;
    int month = 0;
    int day = 0;
    auto operator<=>(const IsoDate&) const = default;
};

// The Gregorian calendar's length of `month` (1-12) in `year`.
int daysInMonth(int year, int month);

// The date of a YYYY-MM-DD text when it names a day that exists; none otherwise
// ("2010-13-01", "2011-02-29", "2010-6-1").
std::optional<IsoDate> isoDate(std::string_view text);

}  // namespace vd
