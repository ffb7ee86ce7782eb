#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "platform/Paths.h"

namespace fs = std::filesystem;

class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("glyphfall-paths-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(root / "usr" / "share" / "glyphfall", fs::perms::owner_all, ec);
    fs::remove_all(root, ec);
  }
  static void Touch(const fs::path& p) {
    fs::create_directories(p.parent_path());
    std::ofstream(p) << "a\n";
  }
  fs::path root;
};

TEST_F(PathsTest, BuildTreeAndPortableCopyUseTheExecutablesFolder) {
  Touch(root / "build" / "wordsenglish.txt");
  EXPECT_EQ(ResolveProgramFolder(root / "build"), root / "build");
  EXPECT_EQ(ResolveScoreFolder(root / "build", FolderIsWritable(root / "build"), "/xdg", "/home/p"), root / "build");
}

TEST_F(PathsTest, InstalledTreeFindsShareAndKeepsScoresInTheXdgFolder) {
  fs::create_directories(root / "usr" / "games");
  Touch(root / "usr" / "share" / "glyphfall" / "wordsenglish.txt");
  fs::path program = ResolveProgramFolder(root / "usr" / "games");
  EXPECT_EQ(program, fs::weakly_canonical(root / "usr" / "share" / "glyphfall"));
  // An installed game's folder is read-only for the player.
  EXPECT_EQ(ResolveScoreFolder(program, false, "/xdg/data", "/home/p"), fs::path("/xdg/data/glyphfall"));
  EXPECT_EQ(ResolveScoreFolder(program, false, "", "/home/p"), fs::path("/home/p/.local/share/glyphfall"));
  EXPECT_EQ(ResolveScoreFolder(program, false, "relative/xdg", "/home/p"), fs::path("/home/p/.local/share/glyphfall"));
}

TEST_F(PathsTest, NoDataAnywhereFallsBackToTheExecutablesFolder) {
  EXPECT_EQ(ResolveProgramFolder(root / "nowhere"), root / "nowhere");
}
