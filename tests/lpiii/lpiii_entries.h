// Direct calls of the library's two entry points, loaded the way the calculator loads them.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "library_loading.h"
#include "log_pearson_library.h"

namespace lpiii_test {

struct Entries {
    vd::LGPST1Fn LGPST1;
    vd::LGPST2Fn LGPST2;
};

inline Entries loadEntries() {
    void* const library =
        vd::platform::openLibrary(vd::programFolder() + "/" + vd::logPearsonLibraryFileName());
    if (library == nullptr) throw std::runtime_error("library not built beside the tests");
    return {reinterpret_cast<vd::LGPST1Fn>(vd::platform::findEntry(library, "LGPST1")),
            reinterpret_cast<vd::LGPST2Fn>(vd::platform::findEntry(library, "LGPST2"))};
}

inline const Entries& entries() {
    static const Entries e = loadEntries();
    return e;
}

struct Fit1 {
    int RETCOD = -99;
    float XBAR = 0, VARNCE = 0, STD = 0, SKEW = 0, SESKEW = 0, SCC = 0, CVR = 0;
    std::vector<float> X;
};

inline Fit1 callLGPST1(std::vector<float> Y, int n, int LOGARH = 1) {
    Fit1 r;
    int FPRT = 0;
    Y.resize(3000);
    r.X.assign(3000, 0.0f);
    entries().LGPST1(&FPRT, Y.data(), &LOGARH, &n, &r.XBAR, &r.VARNCE, &r.STD, &r.SKEW, &r.SESKEW,
                     &r.SCC, &r.CVR, r.X.data(), &r.RETCOD);
    return r;
}

struct Table2 {
    int RETCOD = -99;
    std::array<float, 13> P{}, Q{}, ADP{}, QNEW{}, RI{};
};

struct Args2 {
    int n = 30;
    int nzi = 0;
    int T = 10;
    float XBAR = 0, STD = 1, SKEW = 0;
    int LOGARH = 1;
    int ILH = 2;
};

inline Table2 callLGPST2(Args2 a) {
    Table2 r;
    int NUMONS = 0;
    int NQS = -a.T;
    std::array<float, 27> SE{}, C{}, CCPA{};
    std::array<float, 22> RSOUT{};
    entries().LGPST2(&a.n, &a.nzi, &NUMONS, &NQS, &a.XBAR, &a.STD, &a.SKEW, &a.LOGARH, &a.ILH,
                     SE.data(), C.data(), CCPA.data(), r.P.data(), r.Q.data(), r.ADP.data(),
                     r.QNEW.data(), r.RI.data(), RSOUT.data(), &r.RETCOD);
    return r;
}

inline constexpr int requested = 5;  // 0-based index of entry 6, the requested interval

}  // namespace lpiii_test
