#include "flow_reader.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "calendar.h"
#include "errors.h"
#include "line_breaks.h"
#include "line_cursor.h"
#include "number_text.h"
#include "nwis_fields.h"
#include "season_date.h"

namespace vd {
namespace {

constexpr std::string_view kOldSitesHeader = "Sites in this file include:";
constexpr std::string_view kOldStationsHeader =
    "Data for the following stations is contained in this file";
constexpr std::string_view kSitesHeader2006 = "Data for the following site(s)";

bool contains(std::string_view s, std::string_view what) {
    return s.find(what) != std::string_view::npos;
}

// "Data for the following site(s)", also with the count current files write
// ("Data for the following 3 site(s)").
bool isSiteHeader2006(std::string_view line) {
    if (contains(line, kSitesHeader2006)) return true;
    constexpr std::string_view lead = "Data for the following ";
    const std::size_t at = line.find(lead);
    if (at == std::string_view::npos) return false;
    std::string_view rest = line.substr(at + lead.size());
    std::size_t i = 0;
    while (i < rest.size() && std::isdigit(static_cast<unsigned char>(rest[i]))) ++i;
    if (i == 0) return false;
    while (i < rest.size() && rest[i] == ' ') ++i;
    return rest.substr(i).starts_with("site(s)");
}

bool stopsHeaderScan(std::string_view line) {
    return !line.starts_with("#") || contains(line, kOldSitesHeader) ||
           contains(line, kOldStationsHeader) || isSiteHeader2006(line);
}

// A site line "#  USGS 03451500 FRENCH BROAD ..." names the gage "03451500 FRENCH BROAD ...".
std::string siteName(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && (line[i] == '#' || line[i] == ' ' || line[i] == '\t')) ++i;
    std::string_view rest = line.substr(i);
    const std::size_t wordEnd = rest.find_first_of(" \t");
    const std::string_view first = rest.substr(0, wordEnd);
    const bool allDigits =
        !first.empty() && first.find_first_not_of("0123456789") == std::string_view::npos;
    if (!allDigits && wordEnd != std::string_view::npos) {
        rest = rest.substr(wordEnd);
        const std::size_t next = rest.find_first_not_of(" \t");
        rest = next == std::string_view::npos ? std::string_view{} : rest.substr(next);
    }
    return std::string(rest.substr(0, 255));
}

std::string fileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw InOutError("Cannot open file \"" + path + "\": " + std::strerror(errno));
    std::string text;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size > 0) {
        text.resize(static_cast<std::size_t>(size));
        in.seekg(0, std::ios::beg);
        in.read(text.data(), size);
    }
    if (!in) throw InOutError("Cannot read file \"" + path + "\"");
    return text;
}

struct Season {
    int m1, d1, m2, d2;
};

// The last day (day number) of the request: the end of the season that starts in J2.
int requestEnd(const Season& se, int J2) {
    const bool overYearEnd = se.m2 < se.m1 || (se.m2 == se.m1 && se.d2 < se.d1);
    return DayNumber(overYearEnd ? J2 + 1 : J2, se.m2, se.d2) - 1;
}

// Everything the reader found for one gage, kept apart until the whole file has read.
struct GageSeries {
    std::string name;
    std::unique_ptr<darray> x = std::make_unique<darray>();
    int J1 = 0, J2 = 0, JD1 = 0, JD2 = 0, ndays = 0;
    bool nwis = true;
    GageSeries() { x->fill(unknown); }
};

bool validYear(int yi) {
    return yi >= minYearIndex && yi <= maxYearIndex;
}

// A gage without a record on the season start date in the requested years: no days, and
// bounds that make it read as less than one season.
void makeEmpty(GageSeries& g, int J1, const Season& se, bool nwis) {
    g.x->fill(unknown);
    g.J1 = J1;
    g.J2 = J1 - 1;
    g.JD1 = 0;
    if (validYear(J1) && se.m1 >= 1 && se.m1 <= 12)
        g.JD1 = nwis ? DayNumber(J1, se.m1, se.d1) - 1
                     : DaysByYear(J1) + DaysByMonth(IsLeap(J1), se.m1);
    g.JD2 = g.JD1 - 1;
    g.ndays = 0;
    g.nwis = nwis;
}

void checkDate(int yi, int month) {
    if (!validYear(yi))
        throw RangeError("Range check error: year " + std::to_string(yi + 1900) +
                         " is outside 1850-2100");
    if (month < 1 || month > 12)
        throw RangeError("Range check error: month " + std::to_string(month) + " is outside 1-12");
}

int seriesIndex(int jj, int JD1) {
    const int k = jj - JD1;
    if (k < 1 || k > maxdays)
        throw RangeError(k < 1 ? "Range check error: record dated before the start of its series"
                               : "Range check error: record more than 40000 days after the "
                                 "start of its series");
    return k;
}

struct LastDate {
    int yr = -999, m = -999, d = -999;
};

// The season-year bounds from the last record stored.
void closeSeries(GageSeries& g, const LastDate& last, const Season& se) {
    if (last.d < 0) {
        // Only the start record: less than one season, whatever was requested.
        g.J2 = g.J1 - 1;
        g.JD2 = g.JD1 - 1;
        return;
    }
    g.J2 = (last.m < se.m2 || (last.m == se.m2 && last.d < se.d2)) ? last.yr - 1 : last.yr;
    g.JD2 = DayNumber(g.J2, se.m2, se.d2) - 1;
}

// ---- NWIS daily-value files ----------------------------------------------------------

struct NwisRecord {
    std::string_view gage;
    int myr = 0, month = 0, mday = 0;
    double q = unknown;
    bool hasFlow = true;  // false: the record's block holds no discharge
};

class NwisRecords {
  public:
    NwisRecords(LineCursor& in, bool is2006, ValueColumn column)
        : in_(in), Is2006NWIS_(is2006), column_(column) {}

    // No further record in the file (blank lines at the end do not count).
    bool ended() const { return in_.onlyBlankLinesLeft(); }

    // Reads the next record; a site block's own header (newer layout) is passed over and
    // its column line decides where that block's discharge is.
    void read() {
        std::string_view buffer = nextNonBlankLine();
        if (Is2006NWIS_ && buffer.starts_with("#")) {
            while (buffer.starts_with("#") && !in_.eof()) buffer = in_.next();
            column_ = findValueColumn(splitFields(buffer, true));
            in_.next();  // column formats
            buffer = nextNonBlankLine();
        }
        parse(buffer);
    }

    const NwisRecord& current() const { return rec_; }
    bool newgage = false;

  private:
    std::string_view nextNonBlankLine() {
        std::string_view line = in_.next();
        while (line.find_first_not_of(" \t") == std::string_view::npos && !in_.eof())
            line = in_.next();
        return line;
    }

    void parse(std::string_view buffer) {
        const FieldList f = splitFields(buffer, Is2006NWIS_);
        rec_.gage = f.at(1);
        newgage = rec_.gage != lastgage_;
        lastgage_ = rec_.gage;
        const std::string_view Date = f.at(2);
        if (firstpass_) {
            firstpass_ = false;
            yearfirst_ = Date.size() >= 3 && std::isdigit(static_cast<unsigned char>(Date[2]));
        }
        if (yearfirst_) {
            rec_.myr = toInteger(sub(Date, 1, 4)) - 1900;
            rec_.month = toInteger(sub(Date, 6, 2));
            rec_.mday = toInteger(sub(Date, 9, 2));
        } else {
            rec_.myr = toInteger(sub(Date, 7, 4)) - 1900;
            rec_.month = toInteger(sub(Date, 1, 2));
            rec_.mday = toInteger(sub(Date, 4, 2));
        }
        rec_.hasFlow = column_.hasFlow;
        rec_.q = column_.hasFlow ? flowValue(f.at(column_.index)) : unknown;
    }

    // Characters from 1-based position `from`, as many as there are up to `count`.
    static std::string_view sub(std::string_view s, std::size_t from, std::size_t count) {
        return from - 1 < s.size() ? s.substr(from - 1, count) : std::string_view{};
    }

    static double flowValue(std::string_view field) {
        if (field.empty() || field == "Eqp" || field == "Ice") return unknown;
        return toFloat(field);
    }

    LineCursor& in_;
    bool Is2006NWIS_;
    ValueColumn column_;
    NwisRecord rec_;
    std::string_view lastgage_;
    bool firstpass_ = true;
    bool yearfirst_ = true;
};

// A record dated on the season start in a year from J1 on; any other record must still lie
// in the calendar (or be one of the marked month-99 records).
template <class Rec>
bool isSeasonStart(const Rec& rec, const Season& se, int J1) {
    if (!(rec.month == 99 || (rec.myr == 99 && rec.month > 12))) checkDate(rec.myr, rec.month);
    return rec.month == se.m1 && rec.mday == se.d1 && rec.myr >= J1;
}

GageSeries readNwisGage(NwisRecords& r, int j1send, int j2send, const Season& se, bool& trouble) {
    GageSeries g;
    const int requestedFirst = j1send == -999 ? r.current().myr : j1send;
    if (r.ended()) {
        makeEmpty(g, requestedFirst, se, true);
        return g;
    }
    int J1 = requestedFirst;
    if (!r.current().hasFlow) {
        while (!r.ended() && !r.newgage) r.read();
        makeEmpty(g, J1, se, true);
        return g;
    }
    while (!r.ended() && !r.newgage && !isSeasonStart(r.current(), se, J1)) r.read();
    if (r.ended() || r.newgage) {
        makeEmpty(g, J1, se, true);
        return g;
    }

    const NwisRecord& start = r.current();
    J1 = start.myr;
    g.J1 = J1;
    g.JD1 = DayNumber(J1, se.m1, se.d1) - 1;
    const int requestLast = requestEnd(se, j2send);
    int jj = DayNumber(start.myr, start.month, start.mday);
    (*g.x)[seriesIndex(jj, g.JD1)] = start.q;
    LastDate last;
    while (!r.ended() && !r.newgage && jj <= requestLast) {
        r.read();
        if (r.newgage) break;
        const NwisRecord& rec = r.current();
        if (rec.month == 99 || (rec.myr == 99 && rec.month > 12)) continue;
        checkDate(rec.myr, rec.month);
        jj = DayNumber(rec.myr, rec.month, rec.mday);
        double& day = (*g.x)[seriesIndex(jj, g.JD1)];
        if (day != unknown) trouble = true;  // repeated date: the later record wins
        day = rec.q;
        last = {rec.myr, rec.month, rec.mday};
    }
    closeSeries(g, last, se);
    g.ndays = g.JD2 - g.JD1;
    while (!r.ended() && !r.newgage) r.read();
    return g;
}

void readNwisFile(LineCursor& in, std::string_view stopLine, const CalcState& s, const Season& se,
                  std::vector<GageSeries>& gages, bool& trouble) {
    bool Is2006NWIS = false;
    std::string_view line;
    if (isSiteHeader2006(stopLine)) {
        line = in.next();
        Is2006NWIS = true;
    } else {
        line = in.next();
        if (contains(line, "---------")) {
            line = in.next();
            Is2006NWIS = true;
        }
    }

    std::vector<std::string> names;
    while (line.size() > 9 && !contains(line, "-------")) {
        if (static_cast<int>(names.size()) == maxsitelines)
            throw RangeError("Range check error: more than 1000 site lines");
        names.push_back(siteName(line));
        line = in.next();
    }

    while (!in.eof() && !contains(line, "agency_cd")) line = in.next();
    const ValueColumn column = findValueColumn(splitFields(line, Is2006NWIS));
    in.next();  // column formats

    NwisRecords records(in, Is2006NWIS, column);
    if (!records.ended()) records.read();
    records.newgage = false;
    for (std::size_t site = 0; site < names.size(); ++site) {
        const int slot = static_cast<int>(site) + 1;
        if (slot > maxinfile) {
            if (records.ended()) break;
            throw RangeError("Range check error: more than 100 gages in one file");
        }
        GageSeries g = readNwisGage(records, s.j1send[slot], s.j2send[slot], se, trouble);
        g.name = names[site];
        gages.push_back(std::move(g));
        records.newgage = false;
    }
}

// ---- Old flow files: a name line, then "year-1900 month day value" records --------------

class FloRecords {
  public:
    explicit FloRecords(LineCursor& in) : in_(in) {}

    bool ended() const {
        return rest_.find_first_not_of(" \t") == std::string_view::npos && in_.onlyBlankLinesLeft();
    }

    // Four numbers, which may run over line ends; the rest of the last line is skipped.
    void read() {
        yi = toInteger(token());
        month = toInteger(token());
        day = toInteger(token());
        value = toFloat(token());
        rest_ = {};
    }

    int yi = 0, month = 0, day = 0;
    double value = 0;

  private:
    std::string_view token() {
        for (;;) {
            const std::size_t b = rest_.find_first_not_of(" \t");
            if (b != std::string_view::npos) {
                rest_ = rest_.substr(b);
                const std::size_t e = rest_.find_first_of(" \t");
                const std::string_view t = rest_.substr(0, e);
                rest_ = e == std::string_view::npos ? std::string_view{} : rest_.substr(e);
                return t;
            }
            if (in_.eof()) return {};
            rest_ = in_.next();
        }
    }

    LineCursor& in_;
    std::string_view rest_;
};

struct FloDate {
    int myr, month, mday;
};

GageSeries readFloGage(LineCursor& in, int J1, int J2, const Season& se) {
    GageSeries g;
    g.nwis = false;
    FloRecords r(in);
    bool found = false;
    while (!r.ended()) {
        r.read();
        if (isSeasonStart(FloDate{r.yi, r.month, r.day}, se, J1)) {
            found = true;
            break;
        }
    }
    if (!found || r.ended()) {
        makeEmpty(g, found ? r.yi : J1, se, false);
        return g;
    }

    g.J1 = r.yi;
    checkDate(g.J1, se.m1);
    g.JD1 = DaysByYear(g.J1) + DaysByMonth(IsLeap(g.J1), se.m1);
    const int requestLast = requestEnd(se, J2);
    int jj = DayNumber(r.yi, r.month, r.day);
    (*g.x)[seriesIndex(jj, g.JD1)] = r.value;
    int NDAYS = 1;
    LastDate last;
    while (jj <= requestLast && !r.ended()) {
        r.read();
        if (r.month == 99 || (r.yi == 99 && r.month > 12)) continue;
        checkDate(r.yi, r.month);
        jj = DayNumber(r.yi, r.month, r.day);
        (*g.x)[seriesIndex(jj, g.JD1)] = r.value;
        ++NDAYS;
        last = {r.yi, r.month, r.day};
    }
    closeSeries(g, last, se);
    g.ndays = last.d < 0 ? 0 : NDAYS;
    return g;
}

// ---- Whole file ----------------------------------------------------------------------

Season seasonOf(const CalcState& s) {
    const SeasonDate start = niceenoughdate(s.seasonStart);
    const SeasonDate end = niceenoughdate(s.seasonEnd);
    return {start.NEMonth, start.NEDay, end.NEMonth, end.NEDay};
}

std::vector<GageSeries> parseFlowText(LineCursor& in, const CalcState& s, const Season& se,
                                      bool& trouble, int& sites) {
    std::string_view line;
    do {
        line = in.next();
    } while (!in.eof() && !stopsHeaderScan(line));

    std::vector<GageSeries> gages;
    if (line.starts_with("#")) {
        readNwisFile(in, line, s, se, gages, trouble);
        sites = static_cast<int>(gages.size());
    } else {
        GageSeries g = readFloGage(in, s.J1, s.J2, se);
        g.name = std::string(line.substr(0, 255));
        gages.push_back(std::move(g));
        sites = 1;
    }
    return gages;
}

template <class E>
[[noreturn]] void rethrowAtLine(const E& e, int line, const std::string& file) {
    throw E(std::string(e.what()) + " at line " + std::to_string(line) + " of " + file);
}

void storeGages(CalcState& s, std::vector<GageSeries>& gages, int sites) {
    s.sites = sites;
    for (int g = 1; g <= static_cast<int>(gages.size()); ++g) {
        GageSeries& src = gages[static_cast<std::size_t>(g - 1)];
        s.sitenames[g] = src.name;
        s.xbig[g] = std::move(src.x);
        s.j1big[g] = src.J1;
        s.j2big[g] = src.J2;
        s.jd1big[g] = src.JD1;
        s.jd2big[g] = src.JD2;
        s.ndaysbig[g] = src.ndays;
        s.nwisbig[g] = src.nwis;
    }
    if (gages.empty()) return;
    const int last = static_cast<int>(gages.size());
    s.x = *s.xbig[last];
    s.J1 = s.j1big[last];
    s.J2 = s.j2big[last];
    s.JD1 = s.jd1big[last];
    s.JD2 = s.jd2big[last];
    s.NDAYS = s.ndaysbig[last];
    s.nwis = s.nwisbig[last];
}

}  // namespace

bool isNWIS2006File(const std::string& InputFilename) {
    std::ifstream in(InputFilename, std::ios::binary);
    if (!in)
        throw InOutError("Cannot open file \"" + InputFilename + "\": " + std::strerror(errno));
    std::string head(lineBreakProbeBytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return hasNonCrLfBreaks(head);
}

void VDRead(CalcState& s) {
    const Season se = seasonOf(s);
    s.m1 = se.m1;
    s.d1 = se.d1;
    s.m2 = se.m2;
    s.d2 = se.d2;
    std::string text = readWholeFile(s.flowfile);
    if (hasNonCrLfBreaks(std::string_view(text).substr(0, lineBreakProbeBytes))) {
        std::string converted = toCrLf(text);
        if (replaceWithCrLfCopy(s.flowfile, converted)) text = std::move(converted);
    }

    if (text.find_first_not_of(" \t\r\n") == std::string::npos)
        throw CalcError("The file \"" + s.flowfile + "\" holds no flow records");

    bool trouble = false;
    int sites = 0;
    std::vector<GageSeries> gages;
    LineCursor in(text);
    const std::string file = fileNameOf(s.flowfile);
    // A failing record names its line, so that the user can find it in the file.
    try {
        gages = parseFlowText(in, s, se, trouble, sites);
    } catch (const ConvertError& e) {
        rethrowAtLine(e, in.lineNumber(), file);
    } catch (const RangeError& e) {
        rethrowAtLine(e, in.lineNumber(), file);
    }
    storeGages(s, gages, sites);
    if (trouble) s.trouble = true;
}

}  // namespace vd
