#include "number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "calc_state.h"
#include "errors.h"

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
    if (t.empty()) throw ConvertError(invalidIntegerMessage(text));
    std::int64_t value = 0;
    for (const char c : t) {
        if (c < '0' || c > '9') throw ConvertError(invalidIntegerMessage(text));
        value = value * 10 + (c - '0');
        if (value > static_cast<std::int64_t>(INT32_MAX) + 1)
            throw ConvertError(invalidIntegerMessage(text));
    }
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN) throw ConvertError(invalidIntegerMessage(text));
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
    const auto [ptr, ec] =
        std::from_chars(t.data(), t.data() + t.size(), value, std::chars_format::general);
    const bool whole = !t.empty() && t.front() != '+' && ptr == t.data() + t.size();
    if (whole && ec == std::errc::result_out_of_range) throw ConvertError(invalidFlowMessage(text));
    if (!whole || ec != std::errc()) throw ConvertError(invalidFloatMessage(text));
    if (!std::isfinite(value) || std::fabs(value) > largestFlow)
        throw ConvertError(invalidFlowMessage(text));
    return value;
}

double toFloat(std::string_view text) {
    double value = 0;
    if (!tryFloat(text, value)) throw ConvertError(invalidFloatMessage(text));
    return value;
}

}  // namespace vd
