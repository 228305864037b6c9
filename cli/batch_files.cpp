#include "batch_files.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <string_view>

namespace vd::cli {
namespace fs = std::filesystem;

bool isFlowFileName(const std::string& path) {
    static constexpr std::array<std::string_view, 7> extensions = {
        ".txt", ".rdb", ".cgi", ".flo", ".csv", ".json", ".geojson"};
    std::string ext = fs::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return std::find(extensions.begin(), extensions.end(), ext) != extensions.end();
}

namespace {

std::vector<std::string> flowFilesUnder(const fs::path& folder) {
    std::vector<std::string> found;
    for (const fs::directory_entry& e :
         fs::recursive_directory_iterator(folder, fs::directory_options::skip_permission_denied)) {
        if (e.is_regular_file() && isFlowFileName(e.path().string()))
            found.push_back(e.path().string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace

std::vector<std::string> expandFlowPaths(const std::vector<std::string>& paths) {
    std::vector<std::string> files;
    for (const std::string& p : paths) {
        std::error_code ec;
        if (fs::is_directory(p, ec)) {
            const std::vector<std::string> found = flowFilesUnder(p);
            files.insert(files.end(), found.begin(), found.end());
        } else {
            files.push_back(p);
        }
    }
    return files;
}

std::vector<std::string> pathsFromList(std::istream& in) {
    std::vector<std::string> paths;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t") != std::string::npos) paths.push_back(line);
    }
    return paths;
}

}  // namespace vd::cli
