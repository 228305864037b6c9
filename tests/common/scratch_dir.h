// A folder of its own for a test, under the system's temporary folder, removed with all it
// holds afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace vd::test {

// A whole file as bytes (line breaks untouched).
inline std::string fileText(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class ScratchDir {
  public:
    explicit ScratchDir(const std::string& tag) : path_(uniquePath(tag)) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Copies every file of `folder` in, each writable by its owner.
    void copyFilesOf(const std::filesystem::path& folder) const {
        namespace fs = std::filesystem;
        for (const auto& e : fs::directory_iterator(folder)) {
            if (!e.is_regular_file()) continue;
            const fs::path copy = path_ / e.path().filename();
            fs::copy_file(e.path(), copy, fs::copy_options::overwrite_existing);
            fs::permissions(copy, fs::perms::owner_write, fs::perm_options::add);
        }
    }

  private:
    static std::filesystem::path uniquePath(const std::string& tag) {
        std::random_device rd;
        std::uniform_int_distribution<unsigned long long> any;
        return std::filesystem::temp_directory_path() / (tag + "_" + std::to_string(any(rd)));
    }

    std::filesystem::path path_;
};

}  // namespace vd::test
