// vando3-cli run in-process on scratch copies of the reference inputs.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "../common/scratch_dir.h"
#include "cli.h"

namespace vd::test {

inline const std::filesystem::path kReference =
    std::filesystem::path(VANDO_TEST_DATA) / "reference";

class CliFixture : public ::testing::Test {
  protected:
    explicit CliFixture(const std::string& tag) : tag_(tag) {}

    void SetUp() override {
        scratch_ = std::make_unique<ScratchDir>(tag_);
        dir_ = scratch_->path();
        scratch_->copyFilesOf(kReference / "inputs");
    }

    int call(const vd::cli::Args& args) {
        out_.str("");
        err_.str("");
        return vd::cli::cliMain(args, out_, err_);
    }
    std::string input(const std::string& name) const { return (dir_ / name).string(); }

    std::string tag_;
    std::unique_ptr<ScratchDir> scratch_;
    std::filesystem::path dir_;
    std::ostringstream out_, err_;
};

}  // namespace vd::test
