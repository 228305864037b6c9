// The line and field scanners and the flow conversion under the reader: every line-break
// style, every place of a delimiter within and across the eight-byte steps of the search,
// and the shortcut for plain decimals against the general conversion.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "../common/error_assertions.h"
#include "byte_search.h"
#include "flow_values.h"
#include "errors.h"
#include "flow_text.h"
#include "line_cursor.h"
#include "number_text.h"
#include "nwis_fields.h"

using namespace vd;

namespace {

std::vector<std::string> linesOf(std::string_view text) {
    LineCursor in(text);
    std::vector<std::string> lines;
    while (!in.eof()) lines.emplace_back(in.next());
    return lines;
}

std::vector<std::string> fieldsOf(std::string_view line, bool blanksDelimit) {
    const FieldList f = splitFields(line, blanksDelimit);
    std::vector<std::string> fields;
    for (std::size_t i = 0; i < f.size(); ++i) fields.emplace_back(f.at(i));
    return fields;
}

using Strings = std::vector<std::string>;

}  // namespace

TEST(LineCursor, EveryBreakStyleEndsOneLine) {
    const struct {
        const char* text;
        Strings lines;
    } cases[] = {
        {"a\nb\n", {"a", "b"}},         {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},         {"a\nb\r\nc\rd", {"a", "b", "c", "d"}},
        {"a\r\rb", {"a", "", "b"}},      // two lone CRs: an empty line between
        {"a\n\rb", {"a", "", "b"}},      // LF then CR is two breaks, not one
        {"a\r\r\nb", {"a", "", "b"}},    // a lone CR, then CR LF
        {"\n\nlast", {"", "", "last"}},  // empty lines first
        {"no break", {"no break"}},     {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(linesOf(c.text), c.lines) << testing::PrintToString(c.text);
}

TEST(LineCursor, CountsLinesAndSeesTrailingBlankLines) {
    LineCursor in("one\r\ntwo\r \t\r\n\n");
    EXPECT_EQ(in.next(), "one");
    EXPECT_EQ(in.lineNumber(), 1);
    EXPECT_FALSE(in.onlyBlankLinesLeft());
    EXPECT_EQ(in.next(), "two");
    EXPECT_EQ(in.lineNumber(), 2);
    EXPECT_TRUE(in.onlyBlankLinesLeft());
}

// The first of two bytes wherever it lies within or across the sixteen- and eight-byte
// steps of the search, next to bytes that differ from it in one bit only.
TEST(ByteSearch, FindsTheFirstOfEitherByteAtEveryPlace) {
    for (std::size_t length = 0; length <= 48; ++length) {
        for (std::size_t at = 0; at <= length; ++at) {
            for (const char target : {'\n', '\r'}) {
                std::string text(length, '\x8a');  // '\n' with its high bit set
                for (std::size_t i = 0; i < length; i += 3) text[i] = '\x0e';
                if (at < length) text[at] = target;
                if (at + 1 < length) text[at + 1] = target == '\n' ? '\r' : '\n';
                const char* const found =
                    findEither(text.data(), text.data() + text.size(), '\n', '\r');
                EXPECT_EQ(found - text.data(), static_cast<std::ptrdiff_t>(at))
                    << "length " << length << " at " << at;
            }
        }
    }
}

TEST(FieldSplitting, TabsAndBlankRunsDelimit) {
    const struct {
        const char* line;
        bool blanks;
        Strings fields;
    } cases[] = {
        {"USGS\t01234567\t2001-02-03\t4.5\tA",
         false,
         {"USGS", "01234567", "2001-02-03", "4.5", "A"}},
        {"USGS  01234567  2001-02-03\t4.5", true, {"USGS", "01234567", "2001-02-03", "4.5"}},
        {"a b\tc", false, {"a b", "c"}},
        {"a  \tb", true, {"a", "", "b"}},  // a blank run then a tab: two delimiters
        {"a\t\tb", true, {"a", "", "b"}},
        {"a ", true, {"a", ""}},
        {"\ta", false, {"", "a"}},
        {"", true, {""}},
        // Delimiters before, at and after the eight-byte steps of the search.
        {"1234567\t89", false, {"1234567", "89"}},
        {"12345678\t9", false, {"12345678", "9"}},
        {"123456789012345 6", true, {"123456789012345", "6"}},
        {"1234567890123456\t", true, {"1234567890123456", ""}},
        {"abcdefghijklmnopqrstuvwxyz", true, {"abcdefghijklmnopqrstuvwxyz"}},
        // Bytes next to the tab's and the blank's values are no delimiters.
        {"\x08\x0a\x1f!\x09\xa0\x89", true, {"\x08\x0a\x1f!", "\xa0\x89"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fieldsOf(c.line, c.blanks), c.fields) << testing::PrintToString(c.line);
}

namespace {

// What a flow text reads as by the general conversion alone: the value, or no value when
// the text is refused.
std::optional<double> generalConversion(std::string_view text) {
    std::string_view t = text;
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    if (t.empty() || t.front() == '+') return std::nullopt;
    double v = 0;
    const auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || ptr != t.data() + t.size() || !std::isfinite(v) ||
        std::fabs(v) > std::numeric_limits<double>::max() / maxdays)
        return std::nullopt;
    return v;
}

}  // namespace

// Flows in the forms daily files write them read to the very bits the general conversion
// gives, and the same texts are refused.
TEST(FlowText, PlainDecimalsReadAsTheGeneralConversionReadsThem) {
    std::vector<std::string> texts = {
        "0",
        "-0",
        "0.0",
        "4.22e+03",
        "4.22E+03",
        "1e5",
        "1e-5",
        "12.",
        ".5",
        "-.5",
        "+.5",
        "-",
        ".",
        "1e",
        "1e+",
        "1e+0000005",
        "1.5e22",
        "1e23",
        "9e-23",
        "0.1",
        "0.3",
        "123456789012345",
        "1234567890123456",
        "0.000000000000001",
        "99999.9",
        "1.7976931348623157e308",
        "1e309",
        "nan",
        "inf",
        "-inf",
        "0x10",
        "1,5",
        "1.5.2",
        " 7.25 ",
        "\t3\t",
        "--1",
        "+-1",
        "1e-22",
        "5e-324",
        "1.2345678901234e-7",
        "3.0e+02A",
        "Eqp",
        "1 2",
    };
    // Three significant digits over many magnitudes, as the files round them.
    for (int i = 1; i < 4000; ++i) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.3g", i * 0.37 * std::pow(10.0, i % 13 - 6));
        texts.emplace_back(buf);
        std::snprintf(buf, sizeof buf, "%.15g", i / 7.0 * std::pow(10.0, i % 29 - 14));
        texts.emplace_back(buf);
    }
    for (const std::string& t : texts) {
        const std::optional<double> expected = generalConversion(t);
        double got = 0;
        bool read = true;
        try {
            got = toFlow(t);
        } catch (const Error& e) {
            EXPECT_TRUE(test::hasCode(e, ErrorCode::conversion));
            read = false;
        }
        ASSERT_EQ(read, expected.has_value()) << t;
        if (read) {
            ASSERT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(*expected))
                << t;
        }
    }
}

namespace {

struct RecordRead {
    int myr, month, mday;
    double q;
    bool siteChanged;
};

// The second record of a one-site file in the newer layout (blanks delimit too) or the
// older one (tabs only).
RecordRead secondRecordOf(const std::string& line, bool newerLayout) {
    const std::string header =
        newerLayout ? "# Data for the following 1 site(s) are contained in this file\n"
                      "#    USGS 0001 A\n# ----------\nagency_cd\tsite_no\tdatetime\t"
                      "01_00060_00003\t01_00060_00003_cd\n5s\t15s\t20d\t14n\t10s\n"
                    : "# Sites in this file include:\n#  USGS 0001 A\n#\n"
                      "agency_cd\tsite_no\tdv_dt\tdv_va\tdv_cd\n5s\t15s\t10d\t12n\t3s\n";
    const ParsedFlowFile f =
        parseFlowText(header + "USGS\t0001\t2000-01-01\t1.0\tA\n" + line + "\n", "t.txt");
    if (f.failure) std::rethrow_exception(f.failure);
    const FlowRecord& r = f.records.at(1);
    return {r.myr, r.month, r.mday, r.q, r.siteChanged};
}

}  // namespace

// A record that repeats the site bytes of the one before is read at fixed places; every
// line that only looks like such a record reads as the field-by-field rules say.
TEST(FlowText, RecordsLikeTheOneBeforeReadAsTheirFieldsSay) {
    const struct {
        const char* line;
        bool newerLayout;
        RecordRead expected;
    } cases[] = {
        {"USGS\t0001\t2000-01-02\t2.5\tA", true, {100, 1, 2, 2.5, false}},
        {"USGS\t0001\t2000-01-02\t2.5", false, {100, 1, 2, 2.5, false}},
        {"USGS\t0001\t2000-01-02\tIce\tA", true, {100, 1, 2, unknown, false}},
        {"USGS\t0001\t2000-01-02\t2.5 A", true, {100, 1, 2, 2.5, false}},
        // Another site, also one whose number starts with the last one's.
        {"USGS\t0002\t2000-01-02\t2.5\tA", true, {100, 1, 2, 2.5, true}},
        {"USGS\t00011\t2000-01-02\t2.5\tA", true, {100, 1, 2, 2.5, true}},
        // A blank after the date or before the value is a delimiter of its own in the newer
        // layout (the value field is then empty), part of the field in the older one.
        {"USGS\t0001\t2000-01-02 \t2.5\tA", true, {100, 1, 2, unknown, false}},
        {"USGS\t0001\t2000-01-02\t 2.5\tA", true, {100, 1, 2, unknown, false}},
        {"USGS\t0001\t2000-01-02\t 2.5\tA", false, {100, 1, 2, 2.5, false}},
        {"USGS\t0001\t2000-01-02\t\t2.5", true, {100, 1, 2, unknown, false}},
        {"USGS\t0001\t2000-01-02\t", true, {100, 1, 2, unknown, false}},
        // Dates read by their places, whatever the separators.
        {"USGS\t0001\t2000/01/02\t2.5\tA", true, {100, 1, 2, 2.5, false}},
        {"USGS\t0001\t1999-12-31\t7e1\tA", true, {99, 12, 31, 70, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const RecordRead r = secondRecordOf(c.line, c.newerLayout);
        EXPECT_EQ(r.myr, c.expected.myr);
        EXPECT_EQ(r.month, c.expected.month);
        EXPECT_EQ(r.mday, c.expected.mday);
        EXPECT_EQ(r.q, c.expected.q);
        EXPECT_EQ(r.siteChanged, c.expected.siteChanged);
    }
}
