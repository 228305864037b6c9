// The reading state of the gage table's reader: the file to read, the season texts and
// requested years, the gage store of the file last read, and the working series of its last
// gage. The statistics take the daily series apart (statistics.h) and keep none of it.
#pragma once

#include <memory>
#include <string>

#include "flow_values.h"
#include "range_array.h"

namespace vd {

class FlowFileCache;

using darray = RangeArray<double, 1, maxdays>;  // x[k] is the value of day JD1 + k
// The gages of the file last read, slots 1..sites: each one's series and bounds, kept
// apart from the working series a calculation changes.
struct GageStore {
    int sites = 0;
    RangeArray<std::string, 1, maxsitelines> sitenames;
    RangeArray<std::unique_ptr<darray>, 1, maxinfile> xbig;
    RangeArray<int, 1, maxinfile> j1big, j2big, jd1big, jd2big, ndaysbig;
    // True for a gage read from an NWIS file (its series starts on the season start day).
    RangeArray<bool, 1, maxinfile> nwisbig;
};

struct CalcState {
    CalcState();

    // Working series and its bounds.
    darray x;
    int J1 = 0;
    int J2 = 0;
    int JD1 = 0;
    int JD2 = 0;
    int NDAYS = 0;
    // Where x[1] lies: an NWIS series starts on the season start day (m1/d1), an old flow
    // file on the first day of month m1. Set by LoadGage from store.nwisbig.
    bool nwis = true;

    // Season (month/day of start and end).
    int m1 = 0, d1 = 0, m2 = 0, d2 = 0;

    // Reader inputs: the file, the season texts, the requested season-start years.
    std::string flowfile;
    std::string seasonStart = "Apr 1";
    std::string seasonEnd = "Mar 31";
    RangeArray<int, 1, maxinfile> j1send;
    RangeArray<int, 1, maxinfile> j2send;
    // Set by the reader when a file repeats a date (the later value wins).
    bool trouble = false;
    // Parsed files kept between readings; none: every reading parses the file anew.
    std::shared_ptr<FlowFileCache> fileCache;

    // Gage store of the file last read.
    GageStore store;

    // The results row the last gage read is loaded for.
    int jglobal = 0;
};

// Every x[k] unknown, JD1 = JD2 = 0.
void VDInit(CalcState& s);

// Copies gage j of the store into x and makes `row` the results row being computed.
void LoadXBig(CalcState& s, int j, int row);

// Loads gage j and its bounds (J1, J2, JD1, JD2, NDAYS, nwis) for a calculation.
void LoadGage(CalcState& s, int j, int row);

}  // namespace vd
