#include "site_number.h"

#include <algorithm>

#include "errors.h"

namespace vd::fetch {
namespace {

constexpr std::size_t kLongestAgency = 10;
constexpr std::size_t kLongestNumber = 15;  // site numbers have 8 to 15 digits

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isLetterOrDigit(char c) {
    return isDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool allOf(std::string_view text, bool (*test)(char), std::size_t longest) {
    return !text.empty() && text.size() <= longest && std::all_of(text.begin(), text.end(), test);
}

}  // namespace

std::string shownText(std::string_view text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7f) {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

SiteId checkedSite(std::string_view site) {
    const std::size_t dash = site.find('-');
    const std::string_view agency =
        dash == std::string_view::npos ? std::string_view("USGS") : site.substr(0, dash);
    const std::string_view number = dash == std::string_view::npos ? site : site.substr(dash + 1);
    if (!allOf(agency, isLetterOrDigit, kLongestAgency) || !allOf(number, isDigit, kLongestNumber))
        throw Error(ErrorCode::fetch,
                    "'" + shownText(site) +
                        "' is no site number: give its digits, as 09506000 or USGS-09506000");
    return {std::string(agency) + "-" + std::string(number), std::string(number)};
}

}  // namespace vd::fetch
