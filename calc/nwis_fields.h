// Fields of NWIS daily-value lines, and where a block's daily mean discharge stands.
#pragma once

#include <array>
#include <string_view>

#include "byte_search.h"

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

// Steps through the fields of one line, delimited by tabs and, in the newer layout, by
// every run of blanks too; a blank run followed by a tab delimits twice (an empty field
// between). A line of n delimiters has n + 1 fields. Nothing is stored, so a record's
// line costs no more than the scan up to the fields asked for.
class FieldCursor {
  public:
    FieldCursor(std::string_view line, bool blanksDelimit)
        : line_(line), blanksDelimit_(blanksDelimit) {}

    // The next field into `field`; false when the last field was given.
    bool next(std::string_view& field) {
        if (done_) return false;
        const char* const end = line_.data() + line_.size();
        const char* const at =
            findEither(line_.data() + start_, end, '\t', blanksDelimit_ ? ' ' : '\t');
        std::size_t i = static_cast<std::size_t>(at - line_.data());
        field = line_.substr(start_, i - start_);
        if (i == line_.size()) {
            done_ = true;
        } else {
            if (line_[i] == ' ')
                while (i + 1 < line_.size() && line_[i + 1] == ' ') ++i;
            start_ = i + 1;
        }
        return true;
    }

  private:
    std::string_view line_;
    bool blanksDelimit_;
    std::size_t start_ = 0;
    bool done_ = false;
};

// Every field of a line as FieldCursor delimits them.
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
