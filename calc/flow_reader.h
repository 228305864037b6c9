// Reading daily-flow files (NWIS daily-value text files in the older and the 2006 layout,
// and old four-number flow files) into the gage store.
#pragma once

#include <string>
#include <vector>

#include "calc_state.h"
#include "flow_series.h"

namespace vd {

// Reads s.flowfile for the season s.seasonStart .. s.seasonEnd into gage slots 1..sites.
// NWIS gages are bounded by j1send/j2send, an old flow file by J1/J2 (season-start year
// indexes; -999 as first year means "from the first season start"). A file whose line
// breaks are not all CR LF is first rewritten with CR LF breaks and its original kept
// under the suffix ".unix" (unless the folder or file cannot be written; then it is read
// as it stands). Throws InOutError, ConvertError, RangeError or CalcError.
void VDRead(CalcState& s);

// The season-start years (year index) to read, per gage of the file; an old flow file
// takes those of its last entry. Empty: every year of the record.
struct GageYears {
    std::vector<int> first;
    std::vector<int> last;
};

// The series of every gage of the file at `path` for the season and years, from the
// file's kept records when `cache` holds them (and kept there when it does not).
std::vector<GageSeries> readGageSeries(const std::string& path, const std::string& seasonStart,
                                       const std::string& seasonEnd, const GageYears& years,
                                       FlowFileCache* cache);

// True when the file's first 14000 bytes hold a line break other than CR LF.
bool isNWIS2006File(const std::string& InputFilename);

}  // namespace vd
