// Flow files whose folder and name are not ASCII, named in UTF-8 as the programs pass them:
// on Windows the system's code page may be another, and such a file was read but not
// converted, its name listed wrongly.
#include <gtest/gtest.h>

#include <filesystem>

#include "../common/scratch_dir.h"
#include "gage_rows.h"
#include "vd_calc.h"

namespace fs = std::filesystem;

namespace {

TEST(FileNames, NonAsciiFolderAndNameAreReadAndListedWithoutTouchingTheFile) {
    const vd::test::ScratchDir scratch("vd_file_names");
    const fs::path folder = scratch.path() / fs::path(u8"Jürgen's gages");
    fs::create_directories(folder);
    const fs::path file = folder / fs::path(u8"09506000_Bärenfluss.txt");
    // A published file with LF breaks: read as it stands, nothing written beside it.
    fs::copy_file(fs::path(VANDO_TEST_DATA) / "reference" / "inputs" /
                      "09506000_verde_camp_verde_dv_1989-2021.txt",
                  file);
    const std::u8string utf8Name = file.u8string();
    const std::string before = vd::test::fileText(file);

    const auto rows =
        vd::readGagesForTable(std::string(utf8Name.begin(), utf8Name.end()), "Apr 1", "Mar 31");

    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name, "09506000 VERDE RIVER NEAR CAMP VERDE, AZ");
    EXPECT_EQ(rows[0].file, "09506000_Bärenfluss");
    EXPECT_FALSE(fs::exists(folder / fs::path(u8"09506000_Bärenfluss.txt.unix")));
    EXPECT_EQ(vd::test::fileText(file), before);
}

}  // namespace
