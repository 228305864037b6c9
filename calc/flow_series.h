// The series of the gages of a flow file for a season and requested years, built from the
// file's records.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "calc_state.h"
#include "flow_text.h"

namespace vd {

struct Season {
    int m1, d1, m2, d2;
};

// What a series is read for: its days, or only its bounds (the years of a record),
// which need no array of days.
enum class SeriesContent { days, boundsOnly };

// One gage as the reader stores it.
struct GageSeries {
    std::string name;
    std::unique_ptr<darray> x;  // none when read for its bounds only
    int J1 = 0, J2 = 0, JD1 = 0, JD2 = 0, ndays = 0;
    bool nwis = true;
    explicit GageSeries(SeriesContent content = SeriesContent::days) {
        if (content == SeriesContent::days) {
            x = std::make_unique<darray>();
            x->fill(unknown);
        }
    }
};

// Puts `series` into slot `slot` of the store, with `x` as its daily values.
void storeGage(GageStore& store, int slot, const GageSeries& series, std::unique_ptr<darray> x);

struct RequestedYears {
    int J1 = -999;  // old flow file: first season-start year (-999: from the first)
    int J2 = 199;   // old flow file: last season-start year
    const RangeArray<int, 1, maxinfile>* j1send = nullptr;  // NWIS: per gage
    const RangeArray<int, 1, maxinfile>* j2send = nullptr;
};

// Every gage's series. Sets `trouble` when an NWIS gage repeats a date (the later record
// wins; not seen when only bounds are read). Failures name the line of `fileName` that
// holds the offending record, for bounds alike.
std::vector<GageSeries> buildGageSeries(const ParsedFlowFile& file, const Season& se,
                                        const RequestedYears& years, bool& trouble,
                                        const std::string& fileName,
                                        SeriesContent content = SeriesContent::days);

}  // namespace vd
