#include "gage_table.h"

#include "utf8_path.h"

#include <algorithm>
#include <filesystem>

namespace vd::run {

template <class F>
void GageTable::forEachBlock(F f) const {
    int offset = 0;
    while (offset < rowCount()) {
        // A block is never empty, whatever a row claims, so the walk always ends.
        const int size = std::clamp(row(offset).gcount, 1, rowCount() - offset);
        f(offset, size);
        offset += size;
    }
}

int GageTable::files() const {
    int n = 0;
    forEachBlock([&n](int, int) { ++n; });
    return n;
}

int GageTable::used() const {
    return static_cast<int>(std::ranges::count_if(rows_, [](const GageRow& r) { return r.use; }));
}

bool GageTable::someFileUnused() const {
    bool found = false;
    forEachBlock([&](int first, int size) {
        const auto begin = rows_.begin() + first;
        if (std::none_of(begin, begin + size, [](const GageRow& r) { return r.use; })) found = true;
    });
    return found;
}

int GageTable::removeUnusedFiles() {
    std::vector<GageRow> kept;
    int removed = 0;
    forEachBlock([&](int first, int size) {
        const auto begin = rows_.begin() + first;
        if (std::none_of(begin, begin + size, [](const GageRow& r) { return r.use; }))
            ++removed;
        else
            kept.insert(kept.end(), begin, begin + size);
    });
    rows_ = std::move(kept);
    return removed;
}

std::vector<std::string> GageTable::filePaths() const {
    std::vector<std::string> paths;
    forEachBlock([&](int first, int) { paths.push_back(row(first).path); });
    return paths;
}

std::vector<bool> GageTable::marks() const {
    std::vector<bool> m;
    m.reserve(rows_.size());
    for (const auto& r : rows_) m.push_back(r.use);
    return m;
}

std::string GageTable::countText() const {
    const int gages = rowCount();
    const int nfiles = files();
    const std::string gagePart =
        gages == 1 ? std::string("1 gage in ") : std::to_string(gages) + " gages in ";
    const std::string filePart =
        nfiles == 1 ? std::string("1 file") : std::to_string(nfiles) + " files";
    return gagePart + filePart;
}

GageRow gageRowOf(const std::string& path, const TableGage& g, int gagesInFile) {
    return {g.name, path, gagesInFile, g.record, g.start, g.end, g.use};
}

void GageTable::appendFile(const std::string& path, const std::vector<TableGage>& gages) {
    for (const TableGage& g : gages)
        rows_.push_back(gageRowOf(path, g, static_cast<int>(gages.size())));
}

std::vector<ParamFileEntry> entriesStillPresent(const std::vector<ParamFileEntry>& entries,
                                                bool& missing) {
    std::vector<ParamFileEntry> kept;
    std::error_code ec;
    for (const ParamFileEntry& e : entries)
        if (std::filesystem::is_regular_file(pathFromUtf8(e.path), ec)) kept.push_back(e);
    missing = kept.size() != entries.size();
    return kept;
}

std::vector<std::string> missingStoredPaths(const std::vector<ParamFileEntry>& entries,
                                            const std::vector<ParamFileEntry>& kept) {
    std::vector<std::string> missing;
    for (const ParamFileEntry& e : entries)
        if (std::find(kept.begin(), kept.end(), e) == kept.end() &&
            std::find(missing.begin(), missing.end(), e.path) == missing.end())
            missing.push_back(e.path);
    return missing;
}

void replayStoredEntries(const std::vector<ParamFileEntry>& entries,
                         const std::function<int(const std::string& path)>& addFile,
                         const std::function<int()>& rowCount,
                         const std::function<void(int row)>& unmark) {
    std::size_t i = 0;
    while (i < entries.size()) {
        const std::string& path = entries[i].path;
        std::size_t run = 1;
        while (i + run < entries.size() && entries[i + run].path == path) ++run;
        const int added = addFile(path);
        if (added < 0) return;  // the table is full
        if (added == 0) {
            i += run;
            continue;
        }
        // A file stored for more rows than it now holds is added again for the rest.
        const std::size_t covered = std::min(run, static_cast<std::size_t>(added));
        const int first = rowCount() - added;
        for (std::size_t j = 0; j < covered; ++j)
            if (!entries[i + j].use) unmark(first + static_cast<int>(j));
        i += covered;
    }
}

}  // namespace vd::run
