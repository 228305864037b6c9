#include "log_pearson_library.h"

#include <array>

#include "install_layout.h"
#include "library_loading.h"

namespace vd {

namespace {

constexpr int requestedEntry = 6;  // 1-based entry of the requested interval

template <class Fn>
Fn entryPoint(void* library, const char* name) {
    void* const address = platform::findEntry(library, name);
    if (address == nullptr) {
        throw Error(ErrorCode::libraryBinding, std::string("Unable to locate function ") + name +
                                                   " in " + logPearsonLibraryFileName());
    }
    return reinterpret_cast<Fn>(address);
}

}  // namespace

std::string logPearsonLibraryFileName() {
#if defined(_WIN32)
    return "usgs-awstat-a193.dll";
#elif defined(__APPLE__)
    return "usgs-awstat-a193.dylib";
#else
    return "usgs-awstat-a193.so";
#endif
}

std::string programFolder() {
    return platform::executableFolder();
}

LogPearsonLibrary LogPearsonLibrary::load(const std::string& folder) {
    // Beside the program first (a build folder), then where an installation puts it.
    void* library = platform::openLibrary(folder + "/" + logPearsonLibraryFileName());
    if (library == nullptr)
        library = platform::openLibrary(folder + "/" + libraryFolderFromProgram + "/" +
                                        logPearsonLibraryFileName());
    if (library == nullptr) {
        throw Error(ErrorCode::libraryBinding,
                    "Unable to find " + logPearsonLibraryFileName() +
                        " in current directory. Please check your installation.");
    }
    const auto f1 = entryPoint<LGPST1Fn>(library, "LGPST1");
    const auto f2 = entryPoint<LGPST2Fn>(library, "LGPST2");
    return LogPearsonLibrary(f1, f2);
}

LogPearsonFit LogPearsonLibrary::fit(int n, const lfarray& annual_mins) const {
    LogPearsonFit f;
    lfarray Y;
    for (int i = 1; i <= n; ++i) {
        if (annual_mins[i] <= zeroYearFlow) {
            ++f.zeroYears;
        } else {
            Y[i - f.zeroYears] = annual_mins[i];
        }
    }
    f.nonzeroYears = n - f.zeroYears;
    if (f.nonzeroYears < 2) return f;

    int FPRT = 0;
    int LOGARH = 1;
    int nfit = f.nonzeroYears;
    float XBAR = 0, VARNCE = 0, STD = 0, SKEW = 0, SESKEW = 0, SCC = 0, CVR = 0;
    lfarray X;
    int RETCOD = 0;
    LGPST1(&FPRT, Y.begin(), &LOGARH, &nfit, &XBAR, &VARNCE, &STD, &SKEW, &SESKEW, &SCC, &CVR,
           X.begin(), &RETCOD);
    f.ok = RETCOD == 0;
    f.mean = XBAR;
    f.standardDeviation = STD;
    f.skew = SKEW;
    return f;
}

LogPearsonFit LogPearsonLibrary::fit(std::span<const float> minima) const {
    lfarray annual_mins;
    annual_mins.fill(0.0f);
    int n = 0;
    for (const float m : minima) annual_mins[++n] = m;
    return fit(n, annual_mins);
}

float LogPearsonLibrary::flowFor(const LogPearsonFit& f, int irpy) const {
    if (!f.ok) return -1;
    int n = f.nonzeroYears;
    int nzi = f.zeroYears;
    int NUMONS = 0;
    int NQS = -irpy;
    // The moments hold the floats LGPST1 gave, so these conversions are exact.
    float XBAR = static_cast<float>(f.mean);
    float STD = static_cast<float>(f.standardDeviation);
    float SKEW = static_cast<float>(f.skew);
    int LOGARH = 1;
    int ILH = 2;
    std::array<float, 27> SE{}, C{}, CCPA{};
    std::array<float, 13> P{}, Q{}, ADP{}, QNEW{}, RI{};
    std::array<float, 22> RSOUT{};
    int RETCOD = 0;
    LGPST2(&n, &nzi, &NUMONS, &NQS, &XBAR, &STD, &SKEW, &LOGARH, &ILH, SE.data(), C.data(),
           CCPA.data(), P.data(), Q.data(), ADP.data(), QNEW.data(), RI.data(), RSOUT.data(),
           &RETCOD);
    if (RETCOD != 0) return -1;
    return (nzi == 0 ? Q : QNEW)[requestedEntry - 1];
}

float LogPearsonLibrary::xQy(int n, const lfarray& annual_mins, int irpy) const {
    return flowFor(fit(n, annual_mins), irpy);
}

}  // namespace vd
