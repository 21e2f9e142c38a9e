// A scratch folder per test and qxctl run inside it, for the end-to-end tests.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "run_program.h"

namespace qx::test {

class QxctlFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        // The process id keeps two runs of the suite (two build trees, two
        // checkouts) out of each other's folders.
        scratch_ = std::filesystem::temp_directory_path() /
                   ("qxctl_" + std::string(test->test_suite_name()) + "_" + test->name() + "_" +
                    std::to_string(getpid()));
        std::filesystem::remove_all(scratch_);
        std::filesystem::create_directories(scratch_);
    }
    void TearDown() override { std::filesystem::remove_all(scratch_); }

    ProgramRun Qxctl(const std::string& args) { return RunProgram(QXCTL_PATH, args, scratch_); }
    std::string Path(const std::string& name) const { return (scratch_ / name).string(); }

  private:
    std::filesystem::path scratch_;
};

}  // namespace qx::test
