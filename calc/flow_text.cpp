#include "flow_text.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>

#include "calendar.h"
#include "errors.h"
#include "flow_values.h"
#include "line_cursor.h"
#include "number_text.h"
#include "nwis_fields.h"

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

// A record dated on a day its month does not have (Feb 30, Apr 31) fails at its line. Months
// outside 1-12 are left to the series builder, which passes over the marked month-99 records.
[[noreturn, gnu::cold]] void refuseDay(int yi, int month, int day) {
    throw Error(ErrorCode::range, "Range check error: day " + std::to_string(day) + " of month " +
                                      std::to_string(month) + " of " + std::to_string(yi + 1900) +
                                      " does not exist");
}

inline void refuseDayThatDoesNotExist(int yi, int month, int day) {
    if (month < 1 || month > 12) return;
    if (day < 1 || day > DaysInMonth(IsLeap(yi), month)) refuseDay(yi, month, day);
}

// Reads one record; a record that fails ends the records, and its failure is kept for the
// reading that reaches it.
template <class Read>
bool readOrKeepFailure(Read read, const LineCursor& in, ParsedFlowFile& out,
                       const std::string& fileName) {
    try {
        read();
        return true;
    } catch (const Error& e) {
        try {
            rethrowAtLine(e, in.lineNumber(), fileName);
        } catch (...) {
            out.failure = std::current_exception();
        }
        return false;
    }
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
        while (isBlankLine(line) && !in_.eof()) line = in_.next();
        return line;
    }

    // A site number is a few bytes: compared here, eight at a time, rather than by a call
    // to memcmp.
    static bool sameText(std::string_view a, std::string_view b) {
        if (a.size() != b.size()) return false;
        std::size_t i = 0;
        for (; i + 8 <= a.size(); i += 8) {
            std::uint64_t x;
            std::uint64_t y;
            std::memcpy(&x, a.data() + i, 8);
            std::memcpy(&y, b.data() + i, 8);
            if (x != y) return false;
        }
        for (; i < a.size(); ++i)
            if (a[i] != b[i]) return false;
        return true;
    }

    static bool isBlankLine(std::string_view line) {
        if (!line.empty() && line.front() != ' ' && line.front() != '\t') return false;
        return line.find_first_not_of(" \t") == std::string_view::npos;
    }

    void parse(std::string_view buffer) {
        if (parseLikeLastRecord(buffer)) return;
        const RecordFields f = recordFields(buffer);
        rec_.gage = f.gage;
        newgage = !sameText(rec_.gage, lastgage_);
        lastgage_ = rec_.gage;
        const std::string_view Date = f.date;
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
        refuseDayThatDoesNotExist(rec_.myr, rec_.month, rec_.mday);
        rec_.hasFlow = column_.hasFlow;
        rec_.q = column_.hasFlow ? flowValue(f.value) : unknown;
        sitePrefix_ =
            f.date.empty()
                ? std::string_view{}
                : buffer.substr(0, static_cast<std::size_t>(f.date.data() - buffer.data()));
    }

    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    static int twoDigits(const char* p) { return (p[0] - '0') * 10 + (p[1] - '0'); }

    // "YYYY-MM-DD" and the tab that ends it.
    static bool plainDate(const char* d) {
        return isDigit(d[0]) && isDigit(d[1]) && isDigit(d[2]) && isDigit(d[3]) && d[4] == '-' &&
               isDigit(d[5]) && isDigit(d[6]) && d[7] == '-' && isDigit(d[8]) && isDigit(d[9]) &&
               d[10] == '\t';
    }

    // Nearly every record repeats the agency and site bytes of the record before it, then
    // holds a plain year-first date and the discharge as the next field. Such a record is
    // read at fixed places, without stepping through its fields; it reads as the field by
    // field reading, which takes every other record, would read it.
    bool parseLikeLastRecord(std::string_view line) {
        const std::size_t at = sitePrefix_.size();
        if (at == 0 || !yearfirst_ || !column_.hasFlow || column_.index != 3) return false;
        if (line.size() < at + 11 || !sameText(line.substr(0, at), sitePrefix_)) return false;
        const char* const d = line.data() + at;
        if (!plainDate(d)) return false;
        const char* const value = d + 11;
        const char* const end = line.data() + line.size();
        const char* const valueEnd = findEither(value, end, '\t', Is2006NWIS_ ? ' ' : '\t');
        newgage = false;
        rec_.myr = twoDigits(d) * 100 + twoDigits(d + 2) - 1900;
        rec_.month = twoDigits(d + 5);
        rec_.mday = twoDigits(d + 8);
        refuseDayThatDoesNotExist(rec_.myr, rec_.month, rec_.mday);
        rec_.hasFlow = true;
        rec_.q = flowValue(std::string_view(value, static_cast<std::size_t>(valueEnd - value)));
        return true;
    }

    // The fields a record needs (empty when the line has fewer), found in one pass that
    // stops at the last of them.
    struct RecordFields {
        std::string_view gage, date, value;
    };
    RecordFields recordFields(std::string_view buffer) const {
        RecordFields f;
        FieldCursor cursor(buffer, Is2006NWIS_);
        const std::size_t last = std::max<std::size_t>(2, column_.hasFlow ? column_.index : 0);
        std::string_view field;
        for (std::size_t i = 0; i <= last && cursor.next(field); ++i) {
            if (i == 1) f.gage = field;
            if (i == 2) f.date = field;
            if (column_.hasFlow && i == column_.index) f.value = field;
        }
        return f;
    }

    // Characters from 1-based position `from`, as many as there are up to `count`.
    static std::string_view sub(std::string_view s, std::size_t from, std::size_t count) {
        return from - 1 < s.size() ? s.substr(from - 1, count) : std::string_view{};
    }

    static double flowValue(std::string_view field) {
        if (field.empty() || field == "Eqp" || field == "Ice") return unknown;
        return toFlow(field);
    }

    LineCursor& in_;
    bool Is2006NWIS_;
    ValueColumn column_;
    NwisRecord rec_;
    std::string_view lastgage_;
    // The last record's bytes before its date (agency, site and their delimiters).
    std::string_view sitePrefix_;
    bool firstpass_ = true;
    bool yearfirst_ = true;
};

void parseNwisRecords(LineCursor& in, std::string_view stopLine, ParsedFlowFile& out,
                      const std::string& fileName) {
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

    while (line.size() > 9 && !contains(line, "-------")) {
        if (static_cast<int>(out.names.size()) == maxsitelines)
            throw Error(ErrorCode::range, "Range check error: more than 1000 site lines");
        out.names.push_back(siteName(line));
        line = in.next();
    }

    while (!in.eof() && !contains(line, "agency_cd")) line = in.next();
    const ValueColumn column = findValueColumn(splitFields(line, Is2006NWIS));
    in.next();  // column formats

    NwisRecords records(in, Is2006NWIS, column);
    while (!records.ended()) {
        if (!readOrKeepFailure([&] { records.read(); }, in, out, fileName)) return;
        const NwisRecord& r = records.current();
        out.records.push_back(
            {r.myr, r.month, r.mday, r.q, in.lineNumber(), r.hasFlow, records.newgage});
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
        value = toFlow(token());
        rest_ = {};
        refuseDayThatDoesNotExist(yi, month, day);
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

void parseFloRecords(LineCursor& in, std::string_view nameLine, ParsedFlowFile& out,
                     const std::string& fileName) {
    out.nwis = false;
    out.names.emplace_back(nameLine.substr(0, 255));
    FloRecords records(in);
    while (!records.ended()) {
        if (!readOrKeepFailure([&] { records.read(); }, in, out, fileName)) return;
        out.records.push_back(
            {records.yi, records.month, records.day, records.value, in.lineNumber(), true, false});
    }
}

}  // namespace

void rethrowAtLine(const std::exception& e, int line, const std::string& fileName) {
    const std::string where = " at line " + std::to_string(line) + " of " + fileName;
    const auto* error = dynamic_cast<const Error*>(&e);
    if (error && (error->code() == ErrorCode::conversion || error->code() == ErrorCode::range))
        throw Error(error->code(), e.what() + where);
    throw;
}

ParsedFlowFile parseFlowText(std::string_view text, const std::string& fileName) {
    LineCursor in(text);
    ParsedFlowFile out;
    out.records.reserve(text.size() / 24);  // a daily record takes some 25 to 45 characters
    try {
        std::string_view line;
        do {
            line = in.next();
        } while (!in.eof() && !stopsHeaderScan(line));
        if (line.starts_with("#"))
            parseNwisRecords(in, line, out, fileName);
        else
            parseFloRecords(in, line, out, fileName);
    } catch (const Error& e) {
        rethrowAtLine(e, in.lineNumber(), fileName);
    }
    return out;
}

}  // namespace vd
