// Parsed flow files kept between readings. Reading is the cost of adding files, of the
// re-reading after a season change and of every calculation run; the records of a file do
// not depend on the season or the years asked for, so an unchanged file is parsed once.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "flow_text.h"

namespace vd {

class FlowFileCache {
  public:
    // The kept records of `path` when the file has not changed (same size and time of last
    // change) since they were stored; null otherwise.
    std::shared_ptr<const ParsedFlowFile> find(const std::string& path) const;

    // Keeps the records of `path` as the file now stands.
    void store(const std::string& path, std::shared_ptr<const ParsedFlowFile> parsed);

  private:
    struct Stamp {
        std::uintmax_t size = 0;
        std::filesystem::file_time_type changed{};
        bool operator==(const Stamp&) const = default;
    };
    struct Entry {
        Stamp stamp;
        std::shared_ptr<const ParsedFlowFile> parsed;
    };
    static bool stampOf(const std::string& path, Stamp& stamp);

    mutable std::mutex mutex_;
    std::map<std::string, Entry> entries_;
};

}  // namespace vd
