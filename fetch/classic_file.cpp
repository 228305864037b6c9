#include "classic_file.h"

#include <algorithm>
#include <cctype>

#include "fetch_error.h"

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

// Upper-case words of the name joined by "-", other characters dropped.
std::string nameWords(const std::string& name) {
    std::string out;
    bool gap = false;
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (std::isalnum(c)) {
            if (gap && !out.empty()) out += '-';
            out += static_cast<char>(std::toupper(c));
            gap = false;
        } else {
            gap = true;
        }
    }
    return out;
}

bool isDate(const std::string& d) {
    if (d.size() != 10 || d[4] != '-' || d[7] != '-') return false;
    for (const std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (!std::isdigit(static_cast<unsigned char>(d[i]))) return false;
    return true;
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
    if (!seriesTag.empty()) name += "_" + seriesTag;
    return name + ".txt";
}

std::vector<DailyValue> datedInOrder(std::vector<DailyValue> values, const std::string& site) {
    std::stable_sort(values.begin(), values.end(),
                     [](const DailyValue& a, const DailyValue& b) { return a.date < b.date; });
    std::vector<DailyValue> out;
    out.reserve(values.size());
    for (DailyValue& v : values) {
        if (!isDate(v.date))
            throw FetchError("Site " + site + ": the service gave the date '" + v.date + "'");
        if (!out.empty() && out.back().date == v.date) {
            if (out.back().value != v.value)
                throw FetchError("Site " + site + ": the date " + v.date +
                                 " is given twice with different values");
            continue;
        }
        out.push_back(std::move(v));
    }
    return out;
}

}  // namespace vd::fetch
