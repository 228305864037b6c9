// The binding refuses to start without the library or one of its entries.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "../common/error_assertions.h"
#include "log_pearson_library.h"

namespace {

namespace fs = std::filesystem;

class EmptyFolder {
  public:
    EmptyFolder()
        : path_(fs::temp_directory_path() /
                ("vando-a193-" + std::to_string(std::random_device{}()))) {
        fs::create_directories(path_);
    }
    ~EmptyFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    EmptyFolder(const EmptyFolder&) = delete;
    EmptyFolder& operator=(const EmptyFolder&) = delete;
    std::string path() const { return path_.string(); }

  private:
    fs::path path_;
};

std::string refusal(const std::string& folder) {
    try {
        (void)vd::LogPearsonLibrary::load(folder);
    } catch (const vd::Error& e) {
        EXPECT_TRUE(vd::test::hasCode(e, vd::ErrorCode::libraryBinding));
        return e.what();
    }
    return "loaded";
}

TEST(BindingLoad, LibraryFileNameOfThePlatform) {
#if defined(__linux__)
    EXPECT_EQ(vd::logPearsonLibraryFileName(), "usgs-awstat-a193.so");
#elif defined(_WIN32)
    EXPECT_EQ(vd::logPearsonLibraryFileName(), "usgs-awstat-a193.dll");
#endif
}

TEST(BindingLoad, MissingLibrary) {
    const EmptyFolder empty;
    EXPECT_EQ(refusal(empty.path()), "Unable to find " + vd::logPearsonLibraryFileName() +
                                         " in current directory. Please check your "
                                         "installation.");
}

TEST(BindingLoad, MissingEntries) {
    EXPECT_EQ(refusal(STUB_WITHOUT_LGPST1),
              "Unable to locate function LGPST1 in " + vd::logPearsonLibraryFileName());
    EXPECT_EQ(refusal(STUB_WITHOUT_LGPST2),
              "Unable to locate function LGPST2 in " + vd::logPearsonLibraryFileName());
}

TEST(BindingLoad, LibraryBesideTheProgram) {
    EXPECT_EQ(refusal(vd::programFolder()), "loaded");
}

}  // namespace
