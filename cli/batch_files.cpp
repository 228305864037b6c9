#include "batch_files.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "results_csv.h"

namespace vd::cli {
namespace fs = std::filesystem;

namespace {

std::string lowerExtension(const fs::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

}  // namespace

bool isFlowFileName(const std::string& path) {
    static constexpr std::array<std::string_view, 7> extensions = {
        ".txt", ".rdb", ".cgi", ".flo", ".csv", ".json", ".geojson"};
    const std::string ext = lowerExtension(path);
    return std::find(extensions.begin(), extensions.end(), ext) != extensions.end();
}

namespace {

bool isEarlierResults(const fs::path& file) {
    if (lowerExtension(file) != ".csv") return false;
    std::array<char, 64> start{};
    std::ifstream in(file, std::ios::binary);
    in.read(start.data(), start.size());
    return run::isResultsCsvStart(
        std::string_view(start.data(), static_cast<std::size_t>(in.gcount())));
}

std::string folderProblem(const fs::path& folder, const std::error_code& ec) {
    return "Cannot read the folder \"" + folder.string() + "\": " + ec.message();
}

// Files and unreadable subfolders under `folder`, sorted by path.
void searchFolder(const fs::path& folder, std::vector<BatchInput>& found) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) {
        found.push_back({folder.string(), folderProblem(folder, ec)});
        return;
    }
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        const fs::directory_entry& e = *it;
        std::error_code kind;
        // Symlinks to folders are not followed, so a loop of links cannot trap the search.
        if (e.is_directory(kind) && !e.is_symlink(kind))
            searchFolder(e.path(), found);
        else if (e.is_regular_file(kind) && isFlowFileName(e.path().string()) &&
                 !isEarlierResults(e.path()))
            found.push_back({e.path().string(), {}});
    }
    if (ec) found.push_back({folder.string(), folderProblem(folder, ec)});
}

bool sameFile(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    if (fs::equivalent(a, b, ec)) return true;
    const fs::path ca = fs::weakly_canonical(a, ec);
    if (ec) return false;
    const fs::path cb = fs::weakly_canonical(b, ec);
    return !ec && ca == cb;
}

bool liesUnder(const fs::path& file, const fs::path& folder) {
    std::error_code ec;
    const fs::path f = fs::weakly_canonical(file, ec);
    if (ec) return false;
    const fs::path d = fs::weakly_canonical(folder, ec);
    if (ec) return false;
    const auto [end, at] = std::mismatch(d.begin(), d.end(), f.begin(), f.end());
    return end == d.end() && at != f.end();
}

}  // namespace

std::vector<BatchInput> expandFlowPaths(const std::vector<std::string>& paths) {
    std::vector<BatchInput> inputs;
    for (const std::string& p : paths) {
        std::error_code ec;
        if (!fs::is_directory(p, ec)) {
            inputs.push_back({p, {}});
            continue;
        }
        std::vector<BatchInput> found;
        searchFolder(p, found);
        std::sort(found.begin(), found.end(),
                  [](const BatchInput& a, const BatchInput& b) { return a.path < b.path; });
        inputs.insert(inputs.end(), found.begin(), found.end());
    }
    return inputs;
}

std::optional<std::string> outputClashWithInputs(const std::string& out,
                                                 const std::vector<std::string>& paths,
                                                 const std::vector<BatchInput>& inputs) {
    for (const BatchInput& input : inputs)
        if (input.unreadable.empty() && sameFile(out, input.path))
            return "--out \"" + out + "\" is the input \"" + input.path +
                   "\"; it would be overwritten";
    if (!isFlowFileName(out)) return std::nullopt;
    for (const std::string& p : paths) {
        std::error_code ec;
        if (fs::is_directory(p, ec) && liesUnder(out, p))
            return "--out \"" + out + "\" lies in the folder \"" + p +
                   "\" being read, where a later batch would read it as a flow file";
    }
    return std::nullopt;
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
