#include "season_date.h"

#include <cctype>
#include <cstdint>
#include <optional>

#include "errors.h"

namespace vd {
namespace {

constexpr const char* kPrefixes[12] = {"Ja",  "F",  "Mar", "Ap", "May", "Jun",
                                       "Jul", "Au", "S",   "O",  "N",   "D"};
constexpr int kMaxDay[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// A run of digits as a 32-bit integer; too many digits is no number at all.
std::optional<int> digitRun(const std::string& s, std::size_t from, std::size_t& end) {
    std::int64_t value = 0;
    end = from;
    while (end < s.size() && isDigit(s[end])) {
        value = value * 10 + (s[end] - '0');
        if (value > INT32_MAX) return std::nullopt;
        ++end;
    }
    return static_cast<int>(value);
}

bool startsWithPrefix(const std::string& s, const char* prefix) {
    for (std::size_t i = 0; prefix[i] != '\0'; ++i) {
        if (i >= s.size()) return false;
        if (std::toupper(static_cast<unsigned char>(s[i])) !=
            std::toupper(static_cast<unsigned char>(prefix[i])))
            return false;
    }
    return true;
}

}  // namespace

std::string monthAbbreviation(int month) {
    static const std::string names = "JanFebMarAprMayJunJulAugSepOctNovDec";
    if (month < 1 || month > 12) throw RangeError();
    return names.substr(static_cast<std::size_t>(3 * month - 3), 3);
}

std::string dayBeforeSeasonStart(const std::string& startText) {
    const SeasonDate start = parseSeasonDate(startText);
    if (!start.valid()) return {};
    int month = start.month;
    int day = start.day - 1;
    if (start.day == 1) {
        month = month == 1 ? 12 : month - 1;
        day = kMaxDay[month - 1];
    }
    return monthAbbreviation(month) + " " + std::to_string(day);
}

namespace {

enum class LongDay { lowered, refused };

SeasonDate parseSeasonDateWith(const std::string& s, LongDay longDay) {
    SeasonDate r;
    if (s.empty()) return r;

    std::size_t i = 0;
    if (isDigit(s[0])) {
        const auto month = digitRun(s, 0, i);
        if (!month) return SeasonDate{};
        r.month = *month;
    } else {
        for (int m = 12; m >= 1; --m) {
            if (startsWithPrefix(s, kPrefixes[m - 1])) {
                r.month = m;
                break;
            }
        }
        i = 1;
    }

    if (r.month >= 1 && r.month <= 12) {
        while (i < s.size() && !isDigit(s[i])) ++i;
        if (i >= s.size()) {
            r.day = 1;
        } else {
            std::size_t end = 0;
            const auto day = digitRun(s, i, end);
            if (!day) return SeasonDate{r.text, r.month, 0};
            r.day = *day;
        }
    }

    if (r.month < 1 || r.month > 12 || r.day < 1) return r;
    if (r.day > kMaxDay[r.month - 1]) {
        if (longDay == LongDay::refused) return r;
        r.day = kMaxDay[r.month - 1];
    }
    r.text = monthAbbreviation(r.month) + " " + std::to_string(r.day);
    return r;
}

}  // namespace

SeasonDate parseSeasonDate(const std::string& s) {
    return parseSeasonDateWith(s, LongDay::lowered);
}

SeasonDate typedSeasonDate(const std::string& s) {
    return parseSeasonDateWith(s, LongDay::refused);
}

}  // namespace vd
