// The rows of the gage table and the bookkeeping on them, without any widget: blocks of
// consecutive rows per flow file, each row carrying its file's path and gage count. The
// window and the command-line program fill their tables through it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "gage_rows.h"
#include "run_input.h"
#include "vd_paramfile.h"

namespace vd::run {

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
    // Appends the rows of one file's gages as reading it for the table lists them.
    void appendFile(const std::string& path, const std::vector<TableGage>& gages);

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

// The table row of one gage of a file that holds `gagesInFile` gages.
GageRow gageRowOf(const std::string& path, const TableGage& gage, int gagesInFile);

// Stored rows of a parameter file whose flow file is still a regular file; `missing` tells
// whether any was left out.
std::vector<ParamFileEntry> entriesStillPresent(const std::vector<ParamFileEntry>& entries,
                                                bool& missing);

// The distinct paths of `entries` that `kept` left out, in stored order.
std::vector<std::string> missingStoredPaths(const std::vector<ParamFileEntry>& entries,
                                            const std::vector<ParamFileEntry>& kept);

// Rebuilds a table from stored rows: the consecutive entries that name one file stand for
// its gages. `addFile` adds the file's rows at the table's end and returns how many (0: the
// file could not be read, below 0: adding must stop); rows stored without their Use mark
// are then passed to `unmark` by their table index.
void replayStoredEntries(const std::vector<ParamFileEntry>& entries,
                         const std::function<int(const std::string& path)>& addFile,
                         const std::function<int()>& rowCount,
                         const std::function<void(int row)>& unmark);

}  // namespace vd::run
