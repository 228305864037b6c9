// Reading daily-flow files (NWIS daily-value text files in the older and the 2006 layout,
// and old four-number flow files) into the gage store.
#pragma once

#include <string>

#include "calc_state.h"

namespace vd {

// Reads s.flowfile for the season s.seasonStart .. s.seasonEnd into gage slots 1..sites.
// NWIS gages are bounded by j1send/j2send, an old flow file by J1/J2 (season-start year
// indexes; -999 as first year means "from the first season start"). CR LF, LF, CR and
// mixed line breaks read alike; the file is only ever opened for reading, and anything
// but a regular file is refused before it is opened. Throws InOutError, ConvertError,
// RangeError or CalcError.
void VDRead(CalcState& s);

}  // namespace vd
