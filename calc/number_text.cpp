#include "number_text.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "errors.h"
#include "flow_values.h"

namespace vd {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view t) {
    while (!t.empty() && isBlank(t.front())) t.remove_prefix(1);
    while (!t.empty() && isBlank(t.back())) t.remove_suffix(1);
    return t;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A plain decimal ("-12.5", "4.22e+03") of at most 15 digits and a power of ten within
// 1e22 either way, converted with one exact multiplication or division: both operands are
// exact doubles, so the one rounding gives the correctly rounded value from_chars gives.
// False for every other text, which the general conversion then takes.
bool plainDecimal(std::string_view t, double& value) {
    // Extended-precision arithmetic would round twice.
    if constexpr (FLT_EVAL_METHOD != 0) return false;
    static constexpr double powersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* p = t.data();
    const char* const end = p + t.size();
    const bool negative = p != end && *p == '-';
    if (negative) ++p;
    std::uint64_t digits = 0;
    int count = 0;
    int decimals = 0;
    for (; p != end && isDigit(*p); ++p, ++count) digits = digits * 10 + (*p - '0');
    if (p != end && *p == '.')
        for (++p; p != end && isDigit(*p); ++p, ++count, ++decimals)
            digits = digits * 10 + (*p - '0');
    if (count == 0 || count > 15) return false;
    int exponent = 0;
    if (p != end && (*p == 'e' || *p == 'E')) {
        ++p;
        const bool negativeExponent = p != end && *p == '-';
        if (p != end && (*p == '-' || *p == '+')) ++p;
        int expDigits = 0;
        for (; p != end && isDigit(*p) && expDigits < 4; ++p, ++expDigits)
            exponent = exponent * 10 + (*p - '0');
        if (expDigits == 0) return false;
        if (negativeExponent) exponent = -exponent;
    }
    if (p != end) return false;
    const int power = exponent - decimals;
    if (power < -22 || power > 22) return false;
    const auto m = static_cast<double>(digits);
    const double magnitude = power < 0 ? m / powersOfTen[-power] : m * powersOfTen[power];
    value = negative ? -magnitude : magnitude;
    return true;
}

}  // namespace

namespace number_detail {

int integerOfAnyForm(std::string_view text) {
    std::string_view t = text;
    while (!t.empty() && isBlank(t.front())) t.remove_prefix(1);
    bool negative = false;
    if (!t.empty() && (t.front() == '+' || t.front() == '-')) {
        negative = t.front() == '-';
        t.remove_prefix(1);
    }
    if (t.empty()) throw Error(ErrorCode::conversion, invalidIntegerMessage(text));
    std::int64_t value = 0;
    for (const char c : t) {
        if (c < '0' || c > '9') throw Error(ErrorCode::conversion, invalidIntegerMessage(text));
        value = value * 10 + (c - '0');
        if (value > static_cast<std::int64_t>(INT32_MAX) + 1)
            throw Error(ErrorCode::conversion, invalidIntegerMessage(text));
    }
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        throw Error(ErrorCode::conversion, invalidIntegerMessage(text));
    return static_cast<int>(value);
}

}  // namespace number_detail

bool tryFloat(std::string_view text, double& value) {
    std::string_view t = trimmed(text);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    if (t.empty() || t.front() == '+') return false;
    const char* first = t.data();
    const char* last = t.data() + t.size();
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    return ec == std::errc() && ptr == last;
}

double toFlow(std::string_view text) {
    // Beyond this magnitude the sum of the longest series would overflow.
    constexpr double largestFlow = std::numeric_limits<double>::max() / maxdays;
    std::string_view t = trimmed(text);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    double value = 0;
    if (plainDecimal(t, value)) return value;  // finite and far below the largest flow
    const auto [ptr, ec] =
        std::from_chars(t.data(), t.data() + t.size(), value, std::chars_format::general);
    const bool whole = !t.empty() && t.front() != '+' && ptr == t.data() + t.size();
    if (whole && ec == std::errc::result_out_of_range)
        throw Error(ErrorCode::conversion, invalidFlowMessage(text));
    if (!whole || ec != std::errc()) throw Error(ErrorCode::conversion, invalidFloatMessage(text));
    if (!std::isfinite(value) || std::fabs(value) > largestFlow)
        throw Error(ErrorCode::conversion, invalidFlowMessage(text));
    return value;
}

double toFloat(std::string_view text) {
    double value = 0;
    if (!tryFloat(text, value)) throw Error(ErrorCode::conversion, invalidFloatMessage(text));
    return value;
}

}  // namespace vd
