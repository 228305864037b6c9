#include "flow_series.h"

#include <algorithm>

#include "calendar.h"
#include "errors.h"

namespace vd {
namespace {

// The last day (day number) of the request: the end of the season that starts in lastStart.
int requestEnd(const Season& se, int lastStart) {
    const bool overYearEnd = se.m2 < se.m1 || (se.m2 == se.m1 && se.d2 < se.d1);
    return DayNumber(overYearEnd ? lastStart + 1 : lastStart, se.m2, se.d2) - 1;
}

bool validYear(int yi) {
    return yi >= minYearIndex && yi <= maxYearIndex;
}

// A gage without a record on the season start date in the requested years: no days, and
// bounds that make it read as less than one season.
void makeEmpty(GageSeries& g, int firstStart, const Season& se, bool nwis) {
    g.days.clear();
    g.firstYear = firstStart;
    g.lastYear = firstStart - 1;
    g.dayBeforeStart = 0;
    if (validYear(firstStart) && se.m1 >= 1 && se.m1 <= 12)
        g.dayBeforeStart = nwis ? DayNumber(firstStart, se.m1, se.d1) - 1
                                : DaysByYear(firstStart) + DaysByMonth(IsLeap(firstStart), se.m1);
    g.lastDay = g.dayBeforeStart - 1;
    g.recordDays = 0;
    g.startsOnSeasonStart = nwis;
}

[[noreturn, gnu::cold]] void refuseDate(int yi, int month) {
    if (!validYear(yi))
        throw Error(ErrorCode::range, "Range check error: year " + std::to_string(yi + 1900) +
                                          " is outside 1850-2100");
    throw Error(ErrorCode::range,
                "Range check error: month " + std::to_string(month) + " is outside 1-12");
}

inline void checkDate(int yi, int month) {
    if (!validYear(yi) || month < 1 || month > 12) refuseDate(yi, month);
}

[[noreturn, gnu::cold]] void refuseSeriesIndex(int k) {
    throw Error(ErrorCode::range,
                k < 1 ? "Range check error: record dated before the start of its series"
                      : "Range check error: record more than 40000 days after the "
                        "start of its series");
}

inline int seriesIndex(int jj, int dayBefore) {
    const int k = jj - dayBefore;
    if (k < 1 || k > maxdays) refuseSeriesIndex(k);
    return k;
}

// Day jj takes value q; a series of bounds only checks the day's place. True when the day
// already held a value.
inline bool putDay(GageSeries& g, int jj, double q) {
    const auto k = static_cast<std::size_t>(seriesIndex(jj, g.dayBeforeStart));
    if (g.boundsOnly) return false;
    if (k > g.days.size()) {
        // Records mostly come day after day: the next day is appended.
        if (k > g.days.size() + 1) g.days.resize(k - 1, unknown);
        g.days.push_back(q);
        return false;
    }
    double& day = g.days[k - 1];
    const bool repeated = day != unknown;
    day = q;
    return repeated;
}

struct LastDate {
    int yr = -999, m = -999, d = -999;
};

// The season-year bounds from the last record stored.
void closeSeries(GageSeries& g, const LastDate& last, const Season& se) {
    if (last.d < 0) {
        // Only the start record: less than one season, whatever was requested.
        g.lastYear = g.firstYear - 1;
        g.lastDay = g.dayBeforeStart - 1;
        return;
    }
    g.lastYear = (last.m < se.m2 || (last.m == se.m2 && last.d < se.d2)) ? last.yr - 1 : last.yr;
    // The season's last day belongs to the series.
    g.lastDay = DayNumber(g.lastYear, se.m2, se.d2);
}

// Steps through a file's records as the reader meets them: `newgage` tells that the record
// just read belongs to another site, and reading past the last good record raises what
// that record raised.
class RecordCursor {
  public:
    explicit RecordCursor(const ParsedFlowFile& f) : f_(f) {}

    bool ended() const { return next_ >= f_.records.size() && !f_.failure; }

    void read() {
        if (next_ >= f_.records.size()) {
            if (f_.failure) std::rethrow_exception(f_.failure);
            throw Error(ErrorCode::range, "Range check error: read past the end of the file");
        }
        cur_ = &f_.records[next_++];
        newgage = cur_->siteChanged;
    }

    const FlowRecord& current() const { return cur_ ? *cur_ : none_; }
    int line() const { return current().line; }
    bool newgage = false;

  private:
    const ParsedFlowFile& f_;
    std::size_t next_ = 0;
    const FlowRecord* cur_ = nullptr;
    FlowRecord none_{};
};

// A record dated on the season start in a year from firstStart on; any other record must still lie
// in the calendar (or be one of the marked month-99 records).
bool isSeasonStart(const FlowRecord& rec, const Season& se, int firstStart) {
    if (!(rec.month == 99 || (rec.myr == 99 && rec.month > 12))) checkDate(rec.myr, rec.month);
    return rec.month == se.m1 && rec.mday == se.d1 && rec.myr >= firstStart;
}

GageSeries buildNwisGage(RecordCursor& r, int firstStarts, int lastStarts, const Season& se,
                         bool& trouble, SeriesContent content) {
    GageSeries g(content);
    const int requestedFirst = firstStarts == -999 ? r.current().myr : firstStarts;
    if (r.ended()) {
        makeEmpty(g, requestedFirst, se, true);
        return g;
    }
    int firstStart = requestedFirst;
    if (!r.current().hasFlow) {
        while (!r.ended() && !r.newgage) r.read();
        makeEmpty(g, firstStart, se, true);
        return g;
    }
    while (!r.ended() && !r.newgage && !isSeasonStart(r.current(), se, firstStart)) r.read();
    if (r.ended() || r.newgage) {
        makeEmpty(g, firstStart, se, true);
        return g;
    }

    const FlowRecord& start = r.current();
    firstStart = start.myr;
    g.firstYear = firstStart;
    g.dayBeforeStart = DayNumber(firstStart, se.m1, se.d1) - 1;
    const int requestLast = requestEnd(se, lastStarts);
    int jj = DayNumber(start.myr, start.month, start.mday);
    putDay(g, jj, start.q);
    LastDate last;
    while (!r.ended() && !r.newgage && jj <= requestLast) {
        r.read();
        if (r.newgage) break;
        const FlowRecord& rec = r.current();
        if (rec.month == 99 || (rec.myr == 99 && rec.month > 12)) continue;
        checkDate(rec.myr, rec.month);
        jj = DayNumber(rec.myr, rec.month, rec.mday);
        if (putDay(g, jj, rec.q)) trouble = true;  // repeated date: the later record wins
        last = {rec.myr, rec.month, rec.mday};
    }
    closeSeries(g, last, se);
    g.recordDays = g.lastDay - g.dayBeforeStart;
    while (!r.ended() && !r.newgage) r.read();
    return g;
}

std::vector<GageSeries> buildNwisGages(RecordCursor& records, const ParsedFlowFile& file,
                                       const Season& se, const RequestedYears& years, bool& trouble,
                                       SeriesContent content) {
    std::vector<GageSeries> gages;
    if (!records.ended()) records.read();
    records.newgage = false;
    for (std::size_t site = 0; site < file.names.size(); ++site) {
        const int slot = static_cast<int>(site) + 1;
        if (slot > maxinfile) {
            if (records.ended()) break;
            throw Error(ErrorCode::range, "Range check error: more than 100 gages in one file");
        }
        GageSeries g =
            buildNwisGage(records, years.firstOf(site), years.lastOf(site), se, trouble, content);
        g.name = file.names[site];
        gages.push_back(std::move(g));
        records.newgage = false;
    }
    return gages;
}

GageSeries buildFloGage(RecordCursor& r, int firstStart, int lastStart, const Season& se,
                        SeriesContent content) {
    GageSeries g(content);
    g.startsOnSeasonStart = false;
    bool found = false;
    while (!r.ended()) {
        r.read();
        if (isSeasonStart(r.current(), se, firstStart)) {
            found = true;
            break;
        }
    }
    if (!found || r.ended()) {
        makeEmpty(g, found ? r.current().myr : firstStart, se, false);
        return g;
    }

    const FlowRecord& start = r.current();
    g.firstYear = start.myr;
    checkDate(g.firstYear, se.m1);
    g.dayBeforeStart = DaysByYear(g.firstYear) + DaysByMonth(IsLeap(g.firstYear), se.m1);
    const int requestLast = requestEnd(se, lastStart);
    int jj = DayNumber(start.myr, start.month, start.mday);
    putDay(g, jj, start.q);
    // The days of the records, to count those of the series once its end is known: records
    // after the last full season are read but are not days of the record.
    std::vector<int> recordDays{jj};
    LastDate last;
    while (jj <= requestLast && !r.ended()) {
        r.read();
        const FlowRecord& rec = r.current();
        if (rec.month == 99 || (rec.myr == 99 && rec.month > 12)) continue;
        checkDate(rec.myr, rec.month);
        jj = DayNumber(rec.myr, rec.month, rec.mday);
        putDay(g, jj, rec.q);
        recordDays.push_back(jj);
        last = {rec.myr, rec.month, rec.mday};
    }
    closeSeries(g, last, se);
    g.recordDays = last.d < 0
                       ? 0
                       : static_cast<int>(std::count_if(recordDays.begin(), recordDays.end(),
                                                        [&](int day) { return day <= g.lastDay; }));
    return g;
}

}  // namespace

std::vector<GageSeries> buildGageSeries(const ParsedFlowFile& file, const Season& se,
                                        const RequestedYears& years, bool& trouble,
                                        const std::string& fileName, SeriesContent content) {
    RecordCursor records(file);
    try {
        if (file.nwis) return buildNwisGages(records, file, se, years, trouble, content);
        std::vector<GageSeries> gages;
        gages.push_back(buildFloGage(records, years.firstStart, years.lastStart, se, content));
        gages.back().name = file.names.front();
        return gages;
    } catch (const Error& e) {
        if (e.code() != ErrorCode::range ||
            std::string(e.what()).find(" at line ") != std::string::npos)
            throw;
        rethrowAtLine(e, records.line(), fileName);
    }
}

}  // namespace vd
