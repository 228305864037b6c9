// A series of daily values written in the classic tab-delimited daily-value layout (the
// 2006 header layout), which every reader of such files takes.
#pragma once

#include <string>
#include <vector>

#include "water_data_pages.h"

namespace vd::fetch {

struct ClassicSeries {
    std::string siteNumber;        // "09506000"
    std::string siteName;          // "VERDE RIVER NEAR CAMP VERDE, AZ"
    std::string seriesId;          // time_series_id
    std::string retrieved;         // when, as the header tells it
    std::vector<DailyValue> days;  // sorted by date, each date once
};

// The whole file; lines end in CR LF, as the calculator's reader keeps them.
std::string classicText(const ClassicSeries& s);

// "09506000_VERDE-RIVER-NEAR-CAMP-VERDE-AZ_1989-2021.txt"; `seriesTag` (the first
// characters of the series id, letters and digits kept, anything else "_") is added before
// the extension when a site has two series.
std::string classicFileName(const ClassicSeries& s, const std::string& seriesTag);

// Sorts the values of one series by date and drops a date given again with the same
// value. Throws a fetch error when a date is given twice with different values. The dates
// are those checkServedDays let through.
std::vector<DailyValue> datedInOrder(std::vector<DailyValue> values, const std::string& site);

}  // namespace vd::fetch
