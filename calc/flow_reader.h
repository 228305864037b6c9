// Reading daily-flow files (NWIS daily-value text files in the older and the 2006 layout,
// and old four-number flow files) into the gage store.
#pragma once

#include <string>
#include <vector>

#include "flow_file_cache.h"
#include "flow_series.h"
#include "flow_values.h"

namespace vd {

// The season-start years (year index) to read, per gage of the file; an old flow file
// takes those of its last entry. Empty: every year of the record.
struct GageYears {
    std::vector<int> first;
    std::vector<int> last;
};

// Every gage of a file, and whether some gage repeats a date (the later record counts; not
// seen when only bounds are read).
struct FileSeries {
    std::vector<GageSeries> gages;
    bool repeatedDates = false;
};

// The series of every gage of the file at `path` for the season and years, from the
// file's kept records when `cache` holds them (and kept there when it does not). Throws
// what the reader throws.
FileSeries readFileSeries(const std::string& path, const std::string& seasonStart,
                          const std::string& seasonEnd, const GageYears& years,
                          FlowFileCache* cache, SeriesContent content = SeriesContent::days);

// The same, without the repeated dates.
std::vector<GageSeries> readGageSeries(const std::string& path, const std::string& seasonStart,
                                       const std::string& seasonEnd, const GageYears& years,
                                       FlowFileCache* cache,
                                       SeriesContent content = SeriesContent::days);

}  // namespace vd
