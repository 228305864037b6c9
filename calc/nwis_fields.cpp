#include "nwis_fields.h"

#include <cctype>

namespace vd {
namespace {

bool allDigits(std::string_view s) {
    if (s.empty()) return false;
    for (const char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

// "01_00060_00003": a series number, a 5-digit parameter code and a 5-digit statistic code.
bool isParameterColumn(std::string_view name) {
    const std::size_t a = name.find('_');
    if (a == std::string_view::npos) return false;
    const std::size_t b = name.find('_', a + 1);
    if (b == std::string_view::npos) return false;
    const std::string_view series = name.substr(0, a);
    const std::string_view parameter = name.substr(a + 1, b - a - 1);
    const std::string_view statistic = name.substr(b + 1);
    return allDigits(series) && parameter.size() == 5 && allDigits(parameter) &&
           statistic.size() == 5 && allDigits(statistic);
}

}  // namespace

FieldList splitFields(std::string_view line, bool blanksDelimit) {
    FieldList fields;
    FieldCursor cursor(line, blanksDelimit);
    std::string_view f;
    while (cursor.next(f)) fields.push(f);
    return fields;
}

ValueColumn findValueColumn(const FieldList& columnNames) {
    bool namesParameters = false;
    for (std::size_t i = 0; i < columnNames.size(); ++i) {
        const std::string_view name = columnNames.at(i);
        if (name.ends_with("_00060_00003") && isParameterColumn(name)) return {i, true};
        namesParameters = namesParameters || isParameterColumn(name);
    }
    return namesParameters ? ValueColumn{3, false} : ValueColumn{3, true};
}

}  // namespace vd
