// The number formats of the results and excursion tables. Exact binary halves round away
// from zero (as people checking by hand expect; C's printf rounds them to even), the
// decimal point is always "." and the thousands separator "," whatever the locale.
#pragma once

#include <string>

namespace vd::run {

// "%W.Df": `decimals` decimals, padded with blanks on the left to `width` characters.
std::string formatFixed(double value, int decimals, int width = 0);

// "%.3g": three significant digits, trailing zeros dropped; exponent form "1.13E+03" from
// 1000 up (and below 0.0001).
std::string formatGeneral3(double value);

// "%1.0n": the value rounded to a whole number, with "," between groups of three digits.
std::string formatThousands(double value);

// "%Wd": a whole number padded with blanks on the left to `width` characters.
std::string formatInteger(long long value, int width = 0);

// The display form of a flow: "%.3g" from 100 up, "%3.1f" from 10, "%3.2f" below
// (negative values included). The thresholds compare the unrounded value.
std::string NiceFlow(double q);

}  // namespace vd::run
