// The rows of the gage table and the bookkeeping on them, without any widget: blocks of
// consecutive rows per flow file, each row carrying its file's path and gage count.
#pragma once

#include <string>
#include <vector>

#include "run_input.h"

namespace vd::ui {

using vd::run::GageRow;

class GageTable {
  public:
    static constexpr int maxRows = 1000;
    static constexpr int maxGagesPerFile = 100;

    const std::vector<GageRow>& rows() const { return rows_; }
    const GageRow& row(int i) const { return rows_.at(static_cast<std::size_t>(i)); }
    GageRow& row(int i) { return rows_.at(static_cast<std::size_t>(i)); }
    int rowCount() const { return static_cast<int>(rows_.size()); }
    bool empty() const { return rows_.empty(); }

    // Number of files (blocks) and of rows whose Use mark is set.
    int files() const;
    int used() const;

    void clear() { rows_.clear(); }
    // Appends one row; the caller adds a file's rows one after another, all with the
    // file's path and gage count, so that they form one block.
    void append(GageRow row) { rows_.push_back(std::move(row)); }
    void toggleUse(int i) { row(i).use = !row(i).use; }

    // True when some file has every row unmarked.
    bool someFileUnused() const;
    // Drops every file whose rows are all unmarked; returns the number of files dropped.
    int removeUnusedFiles();

    // The path of each block, in table order (a file added twice appears twice).
    std::vector<std::string> filePaths() const;
    std::vector<bool> marks() const;

    // "1 gage in 1 file", "3 gages in 2 files" ...
    std::string countText() const;

  private:
    // Calls f(first, size) for every block, in order.
    template <class F>
    void forEachBlock(F f) const;
    std::vector<GageRow> rows_;
};

}  // namespace vd::ui
