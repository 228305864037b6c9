#include "gage_table.h"

#include <algorithm>

namespace vd::ui {

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

}  // namespace vd::ui
