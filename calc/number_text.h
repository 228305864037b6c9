// Strict text-to-number conversion with the calculator's error messages. The decimal
// mark is always "." whatever the machine's locale.
#pragma once

#include <string>
#include <string_view>

namespace vd {

namespace number_detail {
int integerOfAnyForm(std::string_view text);
}

// A 32-bit integer: optional blanks before it, optional sign, decimal digits only.
// Throws a conversion error "'text' is not a valid integer value".
inline int toInteger(std::string_view text) {
    // Up to nine plain digits (every date field of a record) cannot overflow: converted
    // here, without the general form's checks.
    if (text.empty() || text.size() > 9) return number_detail::integerOfAnyForm(text);
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return number_detail::integerOfAnyForm(text);
        value = value * 10 + (c - '0');
    }
    return value;
}

// A decimal number, blanks around it allowed. Throws a conversion error
// "'text' is not a valid floating point value".
double toFloat(std::string_view text);

// A daily flow: a decimal number as toFloat reads it that is finite and small enough that
// any sum over a series stays finite; negative flows are flows (tidal gages report them).
// Throws a conversion error "'text' is not a valid flow value" for nan, inf or an overflow, and
// toFloat's error for a text that is no number.
double toFlow(std::string_view text);

// As toFloat, without throwing: false when the text is no number.
bool tryFloat(std::string_view text, double& value);

}  // namespace vd
