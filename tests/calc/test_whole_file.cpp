// Files written whole or not at all: what is left on disk after a write, a failed write,
// an abandoned write and a planted symlink.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../common/error_assertions.h"
#include "../common/scratch_dir.h"
#include "errors.h"
#include "whole_file.h"

#if !defined(_WIN32)
#include <sys/resource.h>

#include <csignal>
#include <iostream>
#endif

namespace fs = std::filesystem;
using vd::test::fileText;

namespace {

std::vector<std::string> namesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void put(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

std::string failureOf(const fs::path& target, const std::string& text) {
    try {
        vd::writeWholeFile(target, text);
        return "";
    } catch (const vd::Error& e) {
        EXPECT_TRUE(vd::test::hasCode(e, vd::ErrorCode::inOut));
        return e.what();
    }
}

class WholeFile : public ::testing::Test {
  protected:
    vd::test::ScratchDir dir_{"vd_whole_file"};
    fs::path target_ = dir_.path() / "flows.csv";
};

}  // namespace

TEST_F(WholeFile, ReplacesTheTargetAndLeavesNoTemporary) {
    put(target_, "old contents that are longer than the new\n");
    vd::writeWholeFile(target_, "new\n");
    EXPECT_EQ(fileText(target_), "new\n");
    EXPECT_EQ(namesIn(dir_.path()), std::vector<std::string>{"flows.csv"});

    const std::string large(300000, 'x');  // several buffers' worth
    vd::writeWholeFile(target_, large);
    EXPECT_EQ(fileText(target_), large);
    EXPECT_EQ(namesIn(dir_.path()), std::vector<std::string>{"flows.csv"});
}

TEST_F(WholeFile, AnAbandonedWriteLeavesTheTargetAsItWas) {
    put(target_, "kept\n");
    {
        vd::WholeFileWriter writer(target_);
        writer.write("half of a file");
        EXPECT_TRUE(fs::exists(writer.temporary()));
        EXPECT_EQ(writer.temporary().parent_path(), dir_.path());
    }
    EXPECT_EQ(fileText(target_), "kept\n");
    EXPECT_EQ(namesIn(dir_.path()), std::vector<std::string>{"flows.csv"});
}

TEST_F(WholeFile, FailuresNameTheFileAndTheReason) {
    const fs::path noFolder = dir_.path() / "missing" / "flows.csv";
    EXPECT_EQ(failureOf(noFolder, "x"),
              "Cannot write \"" + noFolder.string() + "\": No such file or directory");
    EXPECT_FALSE(fs::exists(noFolder.parent_path()));

    const fs::path folder = dir_.path() / "a folder";
    fs::create_directory(folder);
    EXPECT_NE(failureOf(folder, "x").find("Cannot write \"" + folder.string() + "\": "),
              std::string::npos);
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(namesIn(dir_.path()), std::vector<std::string>{"a folder"});
}

#if !defined(_WIN32)
TEST_F(WholeFile, KeepsThePermissionsOfTheFileItReplaces) {
    put(target_, "old\n");
    fs::permissions(target_,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    vd::writeWholeFile(target_, "new\n");
    EXPECT_EQ(fs::status(target_).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(WholeFile, NeverFollowsASymlinkPlantedUnderTheTemporaryName) {
    const fs::path victim = dir_.path() / "victim.txt";
    put(victim, "precious\n");
    fs::create_symlink(victim, dir_.path() / ".planted");
    fs::create_symlink(dir_.path() / "nowhere", dir_.path() / ".dangling");
    std::vector<std::string> names = {".planted", ".dangling", ".fresh"};
    std::size_t next = 0;
    vd::WholeFileWriter writer(target_, [&] { return names.at(next++); });
    writer.write("results\n");
    writer.commit();
    EXPECT_EQ(fileText(target_), "results\n");
    EXPECT_EQ(fileText(victim), "precious\n");
    EXPECT_FALSE(fs::exists(dir_.path() / "nowhere"));
    EXPECT_TRUE(fs::is_symlink(dir_.path() / ".planted"));
    EXPECT_EQ(next, 3u);
}

// A full disk as the writer meets it: the system refuses a write part way through.
// The file size limit makes the refusal happen in a child process of the test.
[[noreturn]] void writeBeyondTheFileSizeLimit(const fs::path& target) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{100000, 100000};
    setrlimit(RLIMIT_FSIZE, &small);
    std::cerr << failureOf(target, std::string(400000, 'x'));
    std::exit(0);
}

TEST_F(WholeFile, ARefusedWriteLeavesNothingUnderTheTarget) {
    put(target_, "the earlier results\n");
    EXPECT_EXIT(writeBeyondTheFileSizeLimit(target_), ::testing::ExitedWithCode(0),
                "Cannot write \".*flows.csv\": File too large");
    EXPECT_EQ(fileText(target_), "the earlier results\n");
    EXPECT_EQ(namesIn(dir_.path()), std::vector<std::string>{"flows.csv"});
}
#endif
