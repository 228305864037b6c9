// The line and field scanners under the reader: every line-break style and every place
// of a delimiter within and across the eight-byte steps of the search.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "line_cursor.h"
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
