#include "water_data_csv.h"

#include <array>
#include <deque>
#include <vector>

#include "errors.h"
#include "water_data_values.h"

namespace vd {
namespace {

std::string_view withoutByteOrderMark(std::string_view text) {
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    return text.starts_with(bom) ? text.substr(bom.size()) : text;
}

// Reads the text row by row: fields split at commas, double-quoted fields may hold commas,
// line breaks and doubled quotes. Lines end with LF or CR LF.
class CsvRows {
  public:
    CsvRows(std::string_view text, std::string fileName)
        : text_(text), fileName_(std::move(fileName)) {}

    bool ended() const { return pos_ >= text_.size(); }

    // The next row's fields; views into the text, or into the row's own copies of quoted
    // fields that held doubled quotes. Valid until the next call.
    const std::vector<std::string_view>& next() {
        fields_.clear();
        unquoted_.clear();
        line_ = nextLine_;
        for (;;) {
            fields_.push_back(field());
            if (pos_ >= text_.size()) break;
            const char c = text_[pos_++];
            if (c == ',') continue;
            if (c == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
            ++nextLine_;
            break;
        }
        return fields_;
    }

    // The line the last row started on (1 for the first line).
    int line() const { return line_; }

  private:
    std::string_view field() {
        if (pos_ < text_.size() && text_[pos_] == '"') return quotedField();
        const std::size_t end = text_.find_first_of(",\r\n", pos_);
        const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
        const std::string_view f = text_.substr(pos_, stop - pos_);
        pos_ = stop;
        // A lone CR that ends no line is kept in the field; CR LF ends the row.
        if (pos_ < text_.size() && text_[pos_] == '\r' &&
            !(pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n')) {
            ++pos_;
            return withRest(f);
        }
        return f;
    }

    // A lone CR inside an unquoted field: the field goes on after it.
    std::string_view withRest(std::string_view head) {
        std::string& whole = unquoted_.emplace_back(head);
        whole += '\r';
        const std::string_view tail = field();
        whole += tail;
        return whole;
    }

    std::string_view quotedField() {
        const std::size_t start = ++pos_;
        bool doubled = false;
        for (;;) {
            const std::size_t q = text_.find('"', pos_);
            if (q == std::string_view::npos) fail("A quoted field is not closed");
            for (std::size_t i = pos_; i < q; ++i)
                if (text_[i] == '\n') ++nextLine_;
            if (q + 1 < text_.size() && text_[q + 1] == '"') {
                doubled = true;
                pos_ = q + 2;
                continue;
            }
            pos_ = q + 1;
            const std::string_view raw = text_.substr(start, q - start);
            if (pos_ < text_.size() && text_[pos_] != ',' && text_[pos_] != '\r' &&
                text_[pos_] != '\n')
                fail("Text follows a closing quote");
            return doubled ? undoubled(raw) : raw;
        }
    }

    [[noreturn]] void fail(const std::string& what) const {
        throw Error(ErrorCode::conversion,
                    what + " at line " + std::to_string(line_) + " of " + fileName_);
    }

    std::string_view undoubled(std::string_view raw) {
        std::string& s = unquoted_.emplace_back();
        for (std::size_t i = 0; i < raw.size(); ++i) {
            s += raw[i];
            if (raw[i] == '"') ++i;
        }
        return s;
    }

    std::string_view text_;
    std::string fileName_;
    std::size_t pos_ = 0;
    int line_ = 0;
    int nextLine_ = 1;
    std::vector<std::string_view> fields_;
    std::deque<std::string> unquoted_;
};

enum Column { kSite, kSeries, kParameter, kStatistic, kTime, kValue, kUnit, kColumns };
constexpr std::array<std::string_view, kColumns> kColumnNames = {
    "monitoring_location_id", "time_series_id", "parameter_code", "statistic_id", "time", "value",
    "unit_of_measure"};
constexpr std::size_t kAbsent = SIZE_MAX;

// Where each column stands; kAbsent for a column the header does not name.
std::array<std::size_t, kColumns> columnsOf(const std::vector<std::string_view>& header) {
    std::array<std::size_t, kColumns> at{};
    at.fill(kAbsent);
    for (std::size_t i = 0; i < header.size(); ++i)
        for (std::size_t c = 0; c < kColumns; ++c)
            if (header[i] == kColumnNames[c] && at[c] == kAbsent) at[c] = i;
    return at;
}

bool isBlank(const std::vector<std::string_view>& row) {
    return row.size() == 1 && row[0].find_first_not_of(" \t") == std::string_view::npos;
}

}  // namespace

bool looksLikeWaterDataCsv(std::string_view text) {
    text = withoutByteOrderMark(text);
    const std::string_view firstLine = text.substr(0, text.find_first_of("\r\n"));
    if (firstLine.find(',') == std::string_view::npos) return false;
    try {
        CsvRows rows(firstLine, {});
        const auto at = columnsOf(rows.next());
        return at[kSite] != kAbsent && at[kTime] != kAbsent && at[kValue] != kAbsent;
    } catch (const Error& e) {
        if (e.code() != ErrorCode::conversion) throw;
        return false;
    }
}

ParsedFlowFile parseWaterDataCsv(std::string_view text, const std::string& fileName) {
    CsvRows rows(withoutByteOrderMark(text), fileName);
    WaterDataValues values(fileName, "line");
    const auto at = columnsOf(rows.next());
    for (std::size_t c = 0; c < kColumns; ++c)
        if (at[c] == kAbsent && c != kSeries)
            throw Error(ErrorCode::calculation, "The header of " + fileName + " names no column '" +
                                                    std::string(kColumnNames[c]) + "'");
    while (!rows.ended()) {
        const auto& row = rows.next();
        if (isBlank(row)) continue;
        const auto field = [&](Column c) {
            return at[c] < row.size() ? row[at[c]] : std::string_view{};
        };
        WaterDataValue v;
        v.site = field(kSite);
        v.series = field(kSeries);
        v.parameter = field(kParameter);
        v.statistic = field(kStatistic);
        v.time = field(kTime);
        if (!field(kValue).empty()) v.value = field(kValue);
        v.unit = field(kUnit);
        values.add(v, rows.line());
    }
    return values.finish();
}

}  // namespace vd
