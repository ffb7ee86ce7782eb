// The game finds its files in the current folder. Tests that need another one
// change it in a forked copy of themselves, so the test process keeps its own.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

// Runs body with folder current, in a child process; the test fails when a
// check in body fails (the child reports it and exits non-zero).
template <class F>
void InFolder(const std::filesystem::path& folder, F body) {
  GTEST_FLAG_SET(death_test_style, "fast");
  auto run = [&] {
    std::filesystem::current_path(folder);
    body();
    _exit(::testing::Test::HasFailure() ? 1 : 0);
  };
  EXPECT_EXIT(run(), ::testing::ExitedWithCode(0), "");
}
