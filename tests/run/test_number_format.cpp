// The results' number formats: exact binary halves round away from zero, the exponent form
// of "%.3g", and thousands separators independent of the locale.
#include <gtest/gtest.h>

#include <locale>
#include <sstream>

#include "number_format.h"

using namespace vd::run;

namespace {

struct FixedCase {
    double value;
    int decimals;
    int width;
    const char* expected;
};

TEST(NumberFormat, FixedRoundsExactHalvesAwayFromZero) {
    const FixedCase cases[] = {
        {105.0 / 16, 3, 3, "6.563"},  // 6.5625 exactly: printf gives 6.562
        {0.125, 2, 2, "0.13"},        // printf gives 0.12
        {-0.125, 2, 2, "-0.13"},
        {2.5, 0, 1, "3"},
        {0.5, 0, 1, "1"},
        {2.675, 2, 2, "2.67"},  // the double lies below 2.675: not a half
        {1.005, 2, 4, "1.00"},  // likewise below 1.005
        {9.995, 2, 4, "9.99"},
        {9.9951, 2, 4, "10.00"},  // carry into a new digit
        {99.96, 1, 3, "100.0"},
        {0.0, 2, 4, "0.00"},
        {-0.001, 2, 4, "0.00"},  // no sign on a value that shows as zero
        {-1.0, 2, 3, "-1.00"},
        {0.6, 2, 4, "0.60"},
        {37.4649, 2, 4, "37.46"},
        {1e20, 2, 2, "100000000000000000000.00"},
    };
    for (const FixedCase& c : cases)
        EXPECT_EQ(formatFixed(c.value, c.decimals, c.width), c.expected)
            << c.value << " with " << c.decimals << " decimals";
}

TEST(NumberFormat, FixedPadsToItsWidth) {
    EXPECT_EQ(formatFixed(3.0, 2, 6), "  3.00");
    EXPECT_EQ(formatFixed(1.4, 1, 6), "   1.4");
    EXPECT_EQ(formatFixed(12345.678, 2, 4), "12345.68");
    EXPECT_EQ(formatInteger(5, 4), "   5");
    EXPECT_EQ(formatInteger(12345, 4), "12345");
    EXPECT_EQ(formatInteger(-7, 3), " -7");
}

TEST(NumberFormat, GeneralKeepsThreeSignificantDigits) {
    const std::pair<double, const char*> cases[] = {
        {123.4, "123"},
        {100.0, "100"},
        {120.0, "120"},
        {999.4, "999"},
        {999.6, "1E+03"},  // rounding reaches 1000: exponent form, trailing zeros dropped
        {1000.0, "1E+03"},
        {1125.0, "1.13E+03"},  // exact half rounds up (printf: 1.12e+03)
        {1234.5, "1.23E+03"},
        {12500.0, "1.25E+04"},
        {1.5e20, "1.5E+20"},
        {0.5, "0.5"},
        {0.000123456, "0.000123"},
        {0.0000123, "1.23E-05"},
        {-250.0, "-250"},
        {0.0, "0"},
    };
    for (const auto& [value, expected] : cases) EXPECT_EQ(formatGeneral3(value), expected) << value;
}

namespace {

// Groups of three digits separated by "." with "," as the decimal mark, as German
// conventions have it; built here so that the test needs no locale installed.
class DotGrouping : public std::numpunct<char> {
  protected:
    char do_thousands_sep() const override { return '.'; }
    char do_decimal_point() const override { return ','; }
    std::string do_grouping() const override { return "\3"; }
};

// Makes `locale` the global one for as long as it lives.
class GlobalLocale {
  public:
    explicit GlobalLocale(const std::locale& locale) : previous_(std::locale::global(locale)) {}
    ~GlobalLocale() { std::locale::global(previous_); }
    GlobalLocale(const GlobalLocale&) = delete;
    GlobalLocale& operator=(const GlobalLocale&) = delete;

  private:
    std::locale previous_;
};

}  // namespace

TEST(NumberFormat, ThousandsSeparatorIsACommaWhateverTheLocale) {
    // A locale with another separator must not change the text.
    const GlobalLocale dotGrouping(std::locale(std::locale::classic(), new DotGrouping));
    std::ostringstream probe;
    probe << 1234567 << " " << 0.5;
    ASSERT_EQ(probe.str(), "1.234.567 0,5") << "the test's locale is not in effect";
    const std::pair<double, const char*> cases[] = {
        {0, "0"},   {999, "999"},      {1000, "1,000"},   {11687, "11,687"}, {1234567, "1,234,567"},
        {-1, "-1"}, {-4017, "-4,017"}, {1336.5, "1,337"},
    };
    for (const auto& [value, expected] : cases) EXPECT_EQ(formatThousands(value), expected);
    EXPECT_EQ(formatFixed(0.5, 1, 3), "0.5");
}

TEST(NumberFormat, NiceFlowChoosesTheFormatByTheUnroundedValue) {
    const std::pair<double, const char*> cases[] = {
        {123.4, "123"},   {45.67, "45.7"},  {0.1234, "0.12"}, {-1.0, "-1.00"},
        {99.96, "100.0"}, {9.996, "10.00"}, {100.0, "100"},   {1125.0, "1.13E+03"},
        {10.0, "10.0"},   {0.0, "0.00"},    {0.125, "0.13"},  {10.25, "10.3"},
    };
    for (const auto& [value, expected] : cases) EXPECT_EQ(NiceFlow(value), expected) << value;
}

}  // namespace
