// Fields of NWIS daily-value lines, and where a block's daily mean discharge stands.
#pragma once

#include <array>
#include <string_view>

namespace vd {

// The fields of one line as views into it; fields past the last are empty.
class FieldList {
  public:
    static constexpr std::size_t capacity = 256;
    std::string_view at(std::size_t i) const {
        return i < count_ ? fields_[i] : std::string_view{};
    }
    std::size_t size() const { return count_; }
    void push(std::string_view f) {
        if (count_ < capacity) fields_[count_++] = f;
    }

  private:
    std::array<std::string_view, capacity> fields_{};
    std::size_t count_ = 0;
};

// Fields delimited by tabs; in the newer layout every run of blanks delimits too.
FieldList splitFields(std::string_view line, bool blanksDelimit);

struct ValueColumn {
    std::size_t index = 3;  // 0-based field of the daily value
    bool hasFlow = true;    // false: the block holds other parameters only
};

// From a column-name line: the column ending in "_00060_00003" (daily mean discharge);
// field 4 when the line names no parameter columns (older "dv_va" layouts); no flow when
// it names parameter columns but not discharge.
ValueColumn findValueColumn(const FieldList& columnNames);

}  // namespace vd
