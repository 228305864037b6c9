// Files a fetching wrote before, read back so that a later fetching only asks for what is
// new: the days after the last one, and again every day from the first provisional one on
// (provisional values are revised, and approved ones are final).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "classic_file.h"

namespace vd::fetch {

struct KeptFile {
    std::filesystem::path path;
    ClassicSeries series;  // its days as written, qualification codes as approval texts
};

// The files of `dir` that a fetching wrote for the site: "<number>_....txt" opening with
// the header fetching writes. Files of other programs are left alone.
std::vector<KeptFile> keptFilesOf(const std::filesystem::path& dir, const std::string& siteNumber);

// Reads a file that fetching wrote; none when it is not one (another header, a line
// that does not read as fetching writes it).
std::optional<KeptFile> readKeptFile(const std::filesystem::path& path);

// The first day to ask for again: the first provisional day, or the day after the last;
// none when the file holds no day.
std::optional<std::string> firstDayToRenew(const KeptFile& kept);

// The kept days before `from`, then the fresh days from `from` on, in the fresh series.
std::vector<DailyValue> renewedDays(const KeptFile& kept, std::vector<DailyValue> fresh,
                                    const std::string& from);

// The day after a YYYY-MM-DD date.
std::string dayAfter(const std::string& date);

}  // namespace vd::fetch
