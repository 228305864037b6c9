#include "flow_file_cache.h"

#include "utf8_path.h"

namespace vd {

bool FlowFileCache::stampOf(const std::string& path, Stamp& stamp) {
    std::error_code ec;
    stamp.size = std::filesystem::file_size(pathFromUtf8(path), ec);
    if (ec) return false;
    stamp.changed = std::filesystem::last_write_time(pathFromUtf8(path), ec);
    return !ec;
}

std::shared_ptr<const ParsedFlowFile> FlowFileCache::find(const std::string& path) const {
    Stamp now;
    if (!stampOf(path, now)) return nullptr;
    const std::lock_guard lock(mutex_);
    const auto it = entries_.find(path);
    if (it == entries_.end() || !(it->second.stamp == now)) return nullptr;
    return it->second.parsed;
}

void FlowFileCache::store(const std::string& path, std::shared_ptr<const ParsedFlowFile> parsed) {
    Stamp now;
    if (!stampOf(path, now)) return;
    const std::lock_guard lock(mutex_);
    entries_[path] = Entry{now, std::move(parsed)};
}

}  // namespace vd
