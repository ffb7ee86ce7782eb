// No unit test sees the word lists of the machine it runs on: the system
// folder and the player's folder are empty ones of the test run's own.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "dictionary/WordLists.h"

namespace {

class TTestWordFolders : public ::testing::Environment {
 public:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "glyphfall-lists-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return;
    root_ = pattern;
    for (const char* sub : {"dict", "data"}) std::filesystem::create_directories(root_ / sub);
    ::setenv(SystemWordsVariable, (root_ / "dict").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
  }
  void TearDown() override {
    std::error_code ec;
    if (!root_.empty()) std::filesystem::remove_all(root_, ec);
  }
  std::filesystem::path root_;
};

[[maybe_unused]] const auto* const wordFolders = ::testing::AddGlobalTestEnvironment(new TTestWordFolders);

}  // namespace
