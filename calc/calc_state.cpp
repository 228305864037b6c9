#include "calc_state.h"

namespace vd {

CalcState::CalcState() {
    x.fill(unknown);
    j1send.fill(-999);
    j2send.fill(199);
}

void VDInit(CalcState& s) {
    s.x.fill(unknown);
    s.JD1 = 0;
    s.JD2 = 0;
}

void LoadXBig(CalcState& s, int j, int row) {
    const auto& stored = s.store.xbig[j];
    if (stored)
        s.x = *stored;
    else
        s.x.fill(unknown);
    s.jglobal = row;
}

void LoadGage(CalcState& s, int j, int row) {
    LoadXBig(s, j, row);
    const GageStore& store = s.store;
    s.J1 = store.j1big[j];
    s.J2 = store.j2big[j];
    s.JD1 = store.jd1big[j];
    s.JD2 = store.jd2big[j];
    s.NDAYS = store.ndaysbig[j];
    s.nwis = store.nwisbig[j];
}

}  // namespace vd
