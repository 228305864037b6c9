// Design-flow statistics on the loaded gage: harmonic mean, x-day averaging, seasonal
// annual minima with the log-Pearson flow, excursion counting, the biological search, and
// percentiles of the stored daily flows.
#pragma once

#include <span>

#include "calc_state.h"
#include "log_pearson_library.h"
#include "search_parameters.h"

namespace vd {

// Harmonic mean of the known nonzero days x[1..JD2-JD1] into hflow and nh (0 and 0 when
// there is none).
void HarmonicMean(CalcState& s);

// The harmonic mean for a stream with zero days: hflow times the share of the known days
// that have a nonzero flow, nh / (nh + hzero); 0 without a known day.
double ZeroAdjustedHarmonicMean(const CalcState& s);

// Replaces x[1..JD2-JD1] by its M-day averages (harmonic in biological mode K = 1).
void AverageInPlace(CalcState& s, const SearchParameters& p);

// Seasonal annual minima of the averaged series into `y`; returns their count. With
// StoreAP it fills fields 1 and 2 of advpar[jglobal].
int AnnualMinima(CalcState& s, const SearchParameters& p, lfarray& y);

// The log-Pearson flow of `ny` annual minima for a return period of XMR years (whole
// part), from a fit made once per gage and averaging period: -1 when fewer than XMR
// minima exist or the fit gives no flow.
double LowFlowOfFit(const SearchParameters& p, const LogPearsonLibrary& lib,
                    const LogPearsonFit& fit, int ny);

// The biological search on the averaged series from the starting flow `start` (the
// log-Pearson flow): the highest flow whose excursion count reaches the allowed count of
// one per XMR years of record. Returns `start` unchanged when it is not positive or when
// the first upper count already matches, -1 when no flow can be found.
double BiologicalSearch(CalcState& s, const SearchParameters& p, double start);

// A design flow whose size is below the search tolerance is reported as 0.
double SnapTinyFlow(double flow);

// The whole design-flow computation of the loaded gage; sets vando (-1 when none).
// It is HarmonicMean, AverageInPlace, AnnualMinima, LowFlowOfFit, BiologicalSearch (K = 1)
// and SnapTinyFlow in turn.
void VDSearch(CalcState& s, const SearchParameters& p, const LogPearsonLibrary& lib);

// Excursions of the averaged series below F. The record goes to slot flows_idx when
// IsREalFlag, else to slot 0. Returns the count (clusters capped at XME).
double Xcount(CalcState& s, const SearchParameters& p, bool IsREalFlag, double F);
// The same count over `days` only: every day whose average is known and below F, in
// increasing order (other days listed are skipped). A day outside the series is a range error.
double Xcount(CalcState& s, const SearchParameters& p, bool IsREalFlag, double F,
              std::span<const int> days);

// Percentage of the NDAYS days on which gage j's stored flow is not below `flow`.
double percentile(const CalcState& s, int j, double flow);

// Gage j's stored daily flow at percentile `perc`; 99999.0 when no day is known.
double percentileflow(const CalcState& s, int j, int ndays, double perc);

// The same two over the days inside the season only (the percent of the season's days, and
// the flow at a percentile of them); missing days count as above.
double seasonPercentile(const CalcState& s, int j, double flow);
double seasonPercentileFlow(const CalcState& s, int j, double perc);

}  // namespace vd
