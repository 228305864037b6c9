// The series of the gages of a flow file for a season and requested years, built from the
// file's records.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "flow_text.h"
#include "flow_values.h"

namespace vd {

struct Season {
    int m1, d1, m2, d2;
};

// What a series is read for: its days, or only its bounds (the years of a record),
// which need no array of days.
enum class SeriesContent { days, boundsOnly };

// One gage as the reader stores it. Day k of the series (k from 1) is the day numbered
// dayBeforeStart + k; days[k - 1] holds its flow, `unknown` when the record has none. The
// vector ends with the last day a record filled: a day past its end is missing too.
struct GageSeries {
    std::string name;
    std::vector<double> days;  // empty when read for its bounds only
    int firstYear = 0;         // year index (year - 1900) the first season-year starts in
    int lastYear = 0;          // year index the last season ends in
    int dayBeforeStart = 0;    // day number of the day before day 1
    int lastDay = 0;           // day number of the last day of the last season
    int recordDays = 0;        // days of the record in the series
    // Day 1 is the season start day (an NWIS file); an old flow file's series starts on the
    // 1st of the season's first month instead.
    bool startsOnSeasonStart = true;
    bool boundsOnly = false;

    explicit GageSeries(SeriesContent content = SeriesContent::days)
        : boundsOnly(content == SeriesContent::boundsOnly) {}

    // Days 1..lastDay - dayBeforeStart, the days the statistics look at (none when empty).
    int dayCount() const { return lastDay > dayBeforeStart ? lastDay - dayBeforeStart : 0; }
};

struct RequestedYears {
    int firstStart = -999;  // old flow file: first season-start year (-999: from the first)
    int lastStart = 199;    // old flow file: last season-start year
    // NWIS: per gage of the file, in order; a gage past their end takes its whole record.
    std::vector<int> firstStarts;
    std::vector<int> lastStarts;
    int firstOf(std::size_t gage) const {
        return gage < firstStarts.size() ? firstStarts[gage] : -999;
    }
    int lastOf(std::size_t gage) const { return gage < lastStarts.size() ? lastStarts[gage] : 199; }
};

// Every gage's series. Sets `trouble` when an NWIS gage repeats a date (the later record
// wins; not seen when only bounds are read). Failures name the line of `fileName` that
// holds the offending record, for bounds alike.
std::vector<GageSeries> buildGageSeries(const ParsedFlowFile& file, const Season& se,
                                        const RequestedYears& years, bool& trouble,
                                        const std::string& fileName,
                                        SeriesContent content = SeriesContent::days);

}  // namespace vd
