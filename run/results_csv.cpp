#include "results_csv.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace vd::run {
namespace {

// A column is a name and how its field is made; adding a column is adding a line to one of
// the tables below.
struct GageColumn {
    const char* name;
    std::string (*field)(const GageResult&);
};
// Repeated for each averaging period D, named "<prefix>_D".
struct BlockColumn {
    const char* prefix;
    std::string (*field)(const AveragingBlock&);
};

std::string number(const std::optional<double>& value) {
    return value ? csvNumber(*value) : std::string();
}

std::string whole(int value) {
    return std::to_string(value);
}

std::string computed(const GageResult& g, std::string text) {
    return g.shortRecord ? std::string() : text;
}

std::string label(int days, char letter, int years) {
    return std::to_string(days) + letter + std::to_string(years);
}

std::string bioLabel(const GageResult& g) {
    if (g.shortRecord) return {};
    const BiologicalResult& bio = g.biological;
    // Under the ammonia rule the flow may be twice the 4-day flow, as the table says.
    if (bio.twiceFourDay) return "2*" + label(4, 'B', bio.yearsBetween);
    return label(bio.averagingDays, 'B', bio.yearsBetween);
}

// The percentile and excursion rate exist when the flow does and is not the ammonia rule's
// twice-the-4-day flow.
std::optional<double> bioStatistic(const GageResult& g, double value) {
    const BiologicalResult& bio = g.biological;
    if (g.shortRecord || !bio.flow || bio.twiceFourDay) return std::nullopt;
    return value;
}

// What the biological flow, the percentiles and the excursion rates were computed over.
std::string bioScopeName(BioScope scope) {
    return scope == BioScope::season ? "season" : "record";
}

const GageColumn leadColumns[] = {
    {"file", [](const GageResult& g) { return csvField(g.file); }},
    {"gage_index", [](const GageResult& g) { return whole(g.gageInFile); }},
    {"site_no", [](const GageResult& g) { return csvField(siteNumberOf(g.name)); }},
    {"gage_name", [](const GageResult& g) { return csvField(g.name); }},
    {"period_start", [](const GageResult& g) { return computed(g, whole(g.firstYear)); }},
    {"period_end", [](const GageResult& g) { return computed(g, whole(g.lastYear)); }},
    {"days_in_record", [](const GageResult& g) { return whole(g.daysInRecord); }},
    {"zero_days", [](const GageResult& g) { return whole(g.zeroDays); }},
    {"missing_days", [](const GageResult& g) { return whole(g.missingDays); }},
    {"bio_label", bioLabel},
    {"bio_flow",
     [](const GageResult& g) { return g.shortRecord ? std::string() : number(g.biological.flow); }},
    {"bio_percentile",
     [](const GageResult& g) { return number(bioStatistic(g, g.biological.percentile)); }},
    {"bio_excursions_per_y",
     [](const GageResult& g) { return number(bioStatistic(g, g.biological.excursionRate)); }},
    {"bio_scope",
     [](const GageResult& g) { return computed(g, bioScopeName(g.biological.scope)); }},
};

std::optional<double> withFlow(const AveragingBlock& b, double value) {
    return b.flow ? std::optional<double>(value) : std::nullopt;
}

std::optional<double> withEquivalent(const AveragingBlock& b, double value) {
    return b.equivalent.years ? std::optional<double>(value) : std::nullopt;
}

std::string blockLabel(const AveragingBlock& b) {
    switch (b.kind) {
        case NonBiologicalKind::hydrological:
            return label(b.days, 'Q', b.returnYears);
        case NonBiologicalKind::explicitFlow:
            return "given_flow";
        case NonBiologicalKind::percentile:
            return "given_percentile";
    }
    return {};
}

const BlockColumn blockColumns[] = {
    {"xqy_label", blockLabel},
    {"xqy_flow", [](const AveragingBlock& b) { return number(b.flow); }},
    {"xqy_lower90",
     [](const AveragingBlock& b) { return b.limits90 ? csvNumber(b.limits90->lower) : ""; }},
    {"xqy_upper90",
     [](const AveragingBlock& b) { return b.limits90 ? csvNumber(b.limits90->upper) : ""; }},
    {"xqy_percentile", [](const AveragingBlock& b) { return number(withFlow(b, b.percentile)); }},
    {"xqy_excursions",
     [](const AveragingBlock& b) { return number(withFlow(b, b.excursionRate)); }},
    {"equiv_type",
     [](const AveragingBlock& b) {
         return b.equivalent.years ? label(b.days, 'Q', *b.equivalent.years) : std::string();
     }},
    {"equiv_flow",
     [](const AveragingBlock& b) { return number(withEquivalent(b, b.equivalent.flow)); }},
    {"equiv_percentile",
     [](const AveragingBlock& b) { return number(withEquivalent(b, b.equivalent.percentile)); }},
    {"trend_p", [](const AveragingBlock& b) { return b.trend ? csvNumber(b.trend->p) : ""; }},
    {"trend_slope_per_decade",
     [](const AveragingBlock& b) { return b.trend ? csvNumber(b.trend->slopePerDecade) : ""; }},
};

const GageColumn tailColumns[] = {
    {"harmonic_mean", [](const GageResult& g) { return computed(g, csvNumber(g.harmonicMean)); }},
    {"harmonic_percentile",
     [](const GageResult& g) { return computed(g, csvNumber(g.harmonicPercentile)); }},
    {"harmonic_mean_zero_adjusted",
     [](const GageResult& g) { return computed(g, csvNumber(g.harmonicMeanZeroAdjusted)); }},
};

constexpr std::array statusColumns = {"status", "message"};

const AveragingBlock* blockOf(const GageResult& g, int days) {
    const auto it = std::find_if(g.blocks.begin(), g.blocks.end(),
                                 [days](const AveragingBlock& b) { return b.days == days; });
    return it == g.blocks.end() ? nullptr : &*it;
}

void append(std::string& line, const std::string& field) {
    if (!line.empty()) line += ',';
    line += field;
}

std::size_t columnCount(std::size_t periods) {
    return std::size(leadColumns) + periods * std::size(blockColumns) + std::size(tailColumns) +
           statusColumns.size();
}

// "na" names each design flow that could not be computed.
std::string missingFlowsMessage(const GageResult& g) {
    std::string names;
    const auto add = [&](const std::string& name) { names += (names.empty() ? "" : ", ") + name; };
    if (!g.biological.flow) add(bioLabel(g));
    for (const AveragingBlock& b : g.blocks)
        if (b.kind == NonBiologicalKind::hydrological && !b.flow) add(blockLabel(b));
    return "no design flow for " + names + " (too little data in the period)";
}

}  // namespace

const char* csvStatusText(CsvStatus status) {
    switch (status) {
        case CsvStatus::ok:
            return "ok";
        case CsvStatus::shortRecord:
            return "short";
        case CsvStatus::notAvailable:
            return "na";
        case CsvStatus::error:
            return "error";
    }
    return "";
}

GageStatus statusOf(const GageResult& gage) {
    if (gage.shortRecord)
        return {CsvStatus::shortRecord, "less than one full season of record in the period"};
    if (gage.missingDesignFlow()) return {CsvStatus::notAvailable, missingFlowsMessage(gage)};
    return {};
}

std::string siteNumberOf(const std::string& gageName) {
    const std::string first = gageName.substr(0, gageName.find_first_of(" \t"));
    const bool digits = first.size() >= 8 && first.size() <= 15 &&
                        first.find_first_not_of("0123456789") == first.npos;
    return digits ? first : std::string();
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string csvNumber(double value) {
    if (!std::isfinite(value)) return {};
    std::array<char, 32> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return ec == std::errc() ? std::string(buffer.data(), end) : std::string();
}

ResultsCsv::ResultsCsv(const RunSettings& settings) : days_(settings.averagingDays) {}

bool isResultsCsvStart(std::string_view start) {
    std::string lead;
    for (const GageColumn& c : leadColumns) {
        lead += c.name;
        lead += ',';
        if (lead.size() > 24) break;
    }
    return start.starts_with(lead);
}

std::string ResultsCsv::headerLine() const {
    std::string line;
    for (const GageColumn& c : leadColumns) append(line, c.name);
    for (const int d : days_)
        for (const BlockColumn& c : blockColumns)
            append(line, std::string(c.prefix) + "_" + std::to_string(d));
    for (const GageColumn& c : tailColumns) append(line, c.name);
    for (const char* name : statusColumns) append(line, name);
    return line + '\n';
}

std::string ResultsCsv::gageLine(const GageResult& gage) const {
    std::string line;
    for (const GageColumn& c : leadColumns) append(line, c.field(gage));
    for (const int d : days_) {
        const AveragingBlock* block = blockOf(gage, d);
        for (const BlockColumn& c : blockColumns) append(line, block ? c.field(*block) : "");
    }
    for (const GageColumn& c : tailColumns) append(line, c.field(gage));
    const GageStatus status = statusOf(gage);
    append(line, csvStatusText(status.status));
    append(line, csvField(status.message));
    return line + '\n';
}

std::string ResultsCsv::errorLine(const std::string& file, int gageInFile,
                                  const std::string& message) const {
    const std::size_t fields = columnCount(days_.size());
    std::string line = csvField(file) + ',' + (gageInFile > 0 ? whole(gageInFile) : "");
    line.append(fields - 4, ',');
    return line + "," + csvStatusText(CsvStatus::error) + "," + csvField(message) + '\n';
}

std::string resultsCsvText(const std::vector<GageResult>& gages, const RunSettings& settings) {
    const ResultsCsv csv(settings);
    std::string text = csv.headerLine();
    for (const GageResult& g : gages) text += csv.gageLine(g);
    return text;
}

}  // namespace vd::run
