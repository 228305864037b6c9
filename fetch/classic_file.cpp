#include "classic_file.h"

#include <algorithm>

#include "errors.h"

namespace vd::fetch {
namespace {

constexpr const char* kBreak = "\r\n";

std::string columnPrefix(const std::string& seriesId) {
    const std::string tag = seriesId.substr(0, 8);
    return tag.empty() ? "01" : tag;
}

std::string qualificationCode(const std::string& approval) {
    if (approval == "Approved") return "A";
    if (approval == "Provisional") return "P";
    return approval.substr(0, 1);
}

// ASCII only, whatever the locale: these are the only characters a file name gets.
bool isAsciiLetterOrDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Upper-case words of the name joined by "-", other characters dropped.
std::string nameWords(const std::string& name) {
    std::string out;
    bool gap = false;
    for (const char c : name) {
        if (isAsciiLetterOrDigit(c)) {
            if (gap && !out.empty()) out += '-';
            out += upper(c);
            gap = false;
        } else {
            gap = true;
        }
    }
    return out;
}

// The series tag of a file name: anything but a letter or a digit becomes "_".
std::string safeTag(std::string tag) {
    for (char& c : tag)
        if (!isAsciiLetterOrDigit(c)) c = '_';
    return tag;
}

}  // namespace

std::string classicText(const ClassicSeries& s) {
    const std::string ts = columnPrefix(s.seriesId);
    std::string out;
    const auto line = [&](const std::string& text) { out += text + kBreak; };
    line("# U.S. Geological Survey daily values, from the Water Data API");
    line("# Provisional values are subject to revision.");
    line("#");
    line("# retrieved: " + s.retrieved);
    line("#");
    line("# Data for the following 1 site(s) are contained in this file");
    line("#    USGS " + s.siteNumber + " " + s.siteName);
    line("# -----------------------------------------------------------------------------------");
    line("#");
    line("# Data provided for site " + s.siteNumber);
    line("#            TS   parameter     statistic     Description");
    line("#      " + std::string(8 - std::min<std::size_t>(8, ts.size()), ' ') + ts +
         "       00060     00003     Discharge, cubic feet per second (Mean)");
    line("#");
    line("# Data-value qualification codes included in this output:");
    line("#     A  Approved for publication -- Processing and review completed.");
    line("#     P  Provisional data subject to revision.");
    line("#");
    line("agency_cd\tsite_no\tdatetime\t" + ts + "_00060_00003\t" + ts + "_00060_00003_cd");
    line("5s\t15s\t20d\t14n\t10s");
    out.reserve(out.size() + s.days.size() * 40);
    for (const DailyValue& d : s.days)
        line("USGS\t" + s.siteNumber + "\t" + d.date + "\t" + d.value.value_or("") + "\t" +
             qualificationCode(d.approval));
    return out;
}

std::string classicFileName(const ClassicSeries& s, const std::string& seriesTag) {
    const std::string first = s.days.empty() ? "" : s.days.front().date.substr(0, 4);
    const std::string last = s.days.empty() ? "" : s.days.back().date.substr(0, 4);
    std::string name = s.siteNumber + "_" + nameWords(s.siteName) + "_" + first + "-" + last;
    // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) on "_" + string.
    if (!seriesTag.empty()) {
        name += '_';
        name += safeTag(seriesTag);
    }
    name += ".txt";
    return name;
}

std::vector<DailyValue> datedInOrder(std::vector<DailyValue> values, const std::string& site) {
    std::stable_sort(values.begin(), values.end(),
                     [](const DailyValue& a, const DailyValue& b) { return a.date < b.date; });
    std::vector<DailyValue> out;
    out.reserve(values.size());
    for (DailyValue& v : values) {
        if (!out.empty() && out.back().date == v.date) {
            if (out.back().value != v.value)
                throw Error(ErrorCode::fetch, "Site " + site + ": the date " + v.date +
                                                  " is given twice with different values");
            continue;
        }
        out.push_back(std::move(v));
    }
    return out;
}

}  // namespace vd::fetch
