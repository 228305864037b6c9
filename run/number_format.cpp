#include "number_format.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace vd::run {
namespace {

// Enough fractional digits for the exact decimal value of any double.
constexpr int exactFractionDigits = 1074;

// The exact decimal expansion of |v| (which is finite): its digits with the decimal point
// removed, and how many of them stand before the point.
struct ExactDigits {
    std::string digits;
    int pointAt = 0;
};

ExactDigits exactDigits(double v) {
    static thread_local char buffer[1500];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(v),
                                      std::chars_format::fixed, exactFractionDigits);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const auto point = text.find('.');
    ExactDigits out;
    out.pointAt = static_cast<int>(point);
    out.digits.reserve(text.size());
    out.digits.append(text.substr(0, point));
    // Only the leading fractional digits can matter; trailing zeros are dropped lazily.
    std::string_view fraction = text.substr(point + 1);
    while (!fraction.empty() && fraction.back() == '0') fraction.remove_suffix(1);
    out.digits.append(fraction);
    return out;
}

char digitAt(const std::string& digits, std::size_t i) {
    return i < digits.size() ? digits[i] : '0';
}

// Keeps the first `keep` digits, rounding half away from zero on the next one; returns
// true when the carry added a leading digit.
bool roundDigits(std::string& digits, std::size_t keep) {
    const bool up = digitAt(digits, keep) >= '5';
    digits.resize(keep, '0');
    if (!up) return false;
    for (std::size_t i = keep; i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return false;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
    return true;
}

std::string padLeft(std::string text, int width) {
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

std::string nonFinite(double v) {
    if (std::isnan(v)) return "NAN";
    return v < 0 ? "-INF" : "INF";
}

bool allZero(const std::string& digits) {
    return digits.find_first_not_of('0') == std::string::npos;
}

// Digits (with `pointAt` of them before the point) as "int.frac", without leading zeros.
std::string joinFixed(const std::string& digits, int pointAt, bool negative) {
    std::string intPart = digits.substr(0, static_cast<std::size_t>(pointAt));
    const std::string fracPart = digits.substr(static_cast<std::size_t>(pointAt));
    const auto firstNonZero = intPart.find_first_not_of('0');
    intPart = firstNonZero == std::string::npos ? "0" : intPart.substr(firstNonZero);
    std::string text = (negative && !allZero(digits)) ? "-" : "";
    text += intPart;
    if (!fracPart.empty()) text += "." + fracPart;
    return text;
}

void dropTrailingZeros(std::string& mantissa) {
    if (mantissa.find('.') == std::string::npos) return;
    while (mantissa.back() == '0') mantissa.pop_back();
    if (mantissa.back() == '.') mantissa.pop_back();
}

}  // namespace

std::string formatFixed(double value, int decimals, int width) {
    if (!std::isfinite(value)) return padLeft(nonFinite(value), width);
    ExactDigits exact = exactDigits(value);
    const auto keep = static_cast<std::size_t>(exact.pointAt + decimals);
    if (roundDigits(exact.digits, keep)) ++exact.pointAt;
    return padLeft(joinFixed(exact.digits, exact.pointAt, value < 0), width);
}

std::string formatGeneral3(double value) {
    constexpr int precision = 3;
    if (!std::isfinite(value)) return nonFinite(value);
    if (value == 0) return "0";
    ExactDigits exact = exactDigits(value);
    const auto first = exact.digits.find_first_not_of('0');
    std::string significant = exact.digits.substr(first);
    int exponent = exact.pointAt - static_cast<int>(first) - 1;
    if (roundDigits(significant, precision)) {
        ++exponent;
        significant.resize(precision);
    }
    const std::string sign = value < 0 ? "-" : "";
    if (exponent < -4 || exponent >= precision) {
        std::string mantissa = significant.substr(0, 1) + "." + significant.substr(1);
        dropTrailingZeros(mantissa);
        const int magnitude = std::abs(exponent);
        return sign + mantissa + (exponent < 0 ? "E-" : "E+") + (magnitude < 10 ? "0" : "") +
               std::to_string(magnitude);
    }
    std::string text;
    if (exponent < 0)
        text = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + significant;
    else
        text = significant.substr(0, static_cast<std::size_t>(exponent + 1)) + "." +
               significant.substr(static_cast<std::size_t>(exponent + 1));
    dropTrailingZeros(text);
    return sign + text;
}

std::string formatThousands(double value) {
    std::string text = formatFixed(value, 0);
    const bool negative = !text.empty() && text.front() == '-';
    std::string digits = negative ? text.substr(1) : text;
    std::string grouped;
    const auto n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return negative ? "-" + grouped : grouped;
}

std::string formatInteger(long long value, int width) {
    return padLeft(std::to_string(value), width);
}

std::string NiceFlow(double q) {
    if (q >= 100) return formatGeneral3(q);
    if (q >= 10) return formatFixed(q, 1, 3);
    return formatFixed(q, 2, 3);
}

}  // namespace vd::run
