#include "served_values.h"

#include <algorithm>
#include <exception>

#include "fetch_error.h"
#include "number_text.h"
#include "site_number.h"

namespace vd::fetch {
namespace {

bool isControl(char ch) {
    const auto c = static_cast<unsigned char>(ch);
    return c < 0x20 || c == 0x7f;
}

bool hasControl(std::string_view text) {
    return std::any_of(text.begin(), text.end(), isControl);
}

// The characters of a number as the service writes one; anything else (blanks included)
// would not stay one field of the classic layout.
bool isNumberCharacter(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E';
}

bool isFlowText(const std::string& value) {
    if (value.empty() || !std::all_of(value.begin(), value.end(), isNumberCharacter)) return false;
    try {
        (void)toFlow(value);  // the reader's own conversion: finite, not too large
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool isIdText(const std::string& id) {
    return std::none_of(id.begin(), id.end(), [](char c) { return isControl(c) || c == ' '; });
}

int twoDigits(std::string_view t, std::size_t at) {
    return (t[at] - '0') * 10 + (t[at + 1] - '0');
}

[[noreturn]] void refuse(const std::string& site, const std::string& what) {
    throw FetchError("Site " + site + ": the service gave " + what);
}

}  // namespace

bool isCalendarDate(std::string_view t) {
    if (t.size() != 10 || t[4] != '-' || t[7] != '-') return false;
    for (const std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (t[i] < '0' || t[i] > '9') return false;
    const int year = twoDigits(t, 0) * 100 + twoDigits(t, 2);
    const int month = twoDigits(t, 5);
    const int day = twoDigits(t, 8);
    if (month < 1 || month > 12 || day < 1) return false;
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= days[month - 1] + (month == 2 && leap ? 1 : 0);
}

void checkServedDays(const std::vector<DailyValue>& days, const std::string& site) {
    for (const DailyValue& d : days) {
        if (!isCalendarDate(d.date)) refuse(site, "the date '" + shownText(d.date) + "'");
        if (d.value && !isFlowText(*d.value))
            refuse(site, "the value '" + shownText(*d.value) + "' for " + d.date +
                             ", which is no finite number");
        if (!isIdText(d.series))
            refuse(site, "the series id '" + shownText(d.series) +
                             "', with a blank or a control character");
        if (hasControl(d.approval))
            refuse(site, "the approval '" + shownText(d.approval) + "' for " + d.date +
                             ", with a control character");
    }
}

void checkSiteName(const std::string& name, const std::string& site) {
    if (hasControl(name))
        refuse(site,
               "the name '" + shownText(name) + "', with a line break or a control character");
}

}  // namespace vd::fetch
