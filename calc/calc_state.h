// The calculation state of one gage computation: the working series, the gage store
// of the file last read, the season fields and the results. Every routine of the
// calculator takes it explicitly, so independent computations never share state; the
// parameters of one search travel apart, as SearchParameters.
// Field names follow the calculator's established short names (x, J1, JD1, NDAYS ...).
#pragma once

#include <memory>
#include <string>

#include "flow_values.h"
#include "range_array.h"

namespace vd {

class FlowFileCache;

using darray = RangeArray<double, 1, maxdays>;  // x[k] is the value of day JD1 + k
using lfarray = RangeArray<float, 1, nmax>;     // annual minima
using ciarray = RangeArray<int, 1, maxclusters>;
using crarray = RangeArray<double, 1, maxclusters>;

// One season-year of the per-year table: 1 year index, 2 annual minimum, 3 xQk flow, 4 k.
using apentry = RangeArray<float, 1, 4>;
using aparray = RangeArray<apentry, 1, maxyears>;

// The excursions below one flow: periods, and the clusters they form.
struct ExcursionRecord {
    int JD1SAVE = 0;
    int JD2SAVE = 0;
    int NXP = 0;
    ciarray JXP1;
    ciarray JXP2;
    ciarray NX;
    crarray SX;
    crarray XPXP;
    int NXC = 0;
    crarray XPXC;
    ciarray KXC1;
    ciarray KXC2;
    double Flow = 0;
};

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

    // Season (month/day of start and end) and its day positions in the season-year.
    int m1 = 0, d1 = 0, m2 = 0, d2 = 0;
    int sday = 0, eday = 0;

    // Results.
    double vando = -1;
    double hflow = 0;
    int nh = 0;
    int hzero = 0;  // known days with flow 0 beside the nh of the harmonic mean

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

    // Per results row: yearly tables and excursion records (slot 0 is scratch).
    RangeArray<std::unique_ptr<aparray>, 1, maxinfile> advpar;
    RangeArray<std::unique_ptr<ExcursionRecord>, 0, maxflows> excursions;
    int flows_idx = 0;
    int jglobal = 0;
    bool StoreAP = false;
    bool averageonlyflag = false;
};

// Every x[k] unknown, JD1 = JD2 = 0.
void VDInit(CalcState& s);

// Copies gage j of the store into x and makes `row` the results row being computed.
void LoadXBig(CalcState& s, int j, int row);

// Loads gage j and its bounds (J1, J2, JD1, JD2, NDAYS, nwis) for a calculation.
void LoadGage(CalcState& s, int j, int row);

// The yearly table of a results row, created (years unknown, other fields 0) on first use.
aparray& advparRow(CalcState& s, int row);

// The excursion record of a slot, created on first use.
ExcursionRecord& excursionSlot(CalcState& s, int slot);

}  // namespace vd
