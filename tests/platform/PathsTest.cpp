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

// A game folder other users can write: they could plant the player's files or
// links, or read the player's games from a history file of their own.
TEST_F(PathsTest, AFolderOthersCanWriteOrWhoseFilesTheyOwnIsNoPlaceForThePlayersFiles) {
  const fs::path game = root / "game";
  fs::create_directories(game / "replays");
  const uid_t me = ::geteuid();
  const std::vector<std::string> names = {"HISCORE.XML", "glyphfall.db", "replays"};
  EXPECT_EQ(SharedFolderReason(game, names, me), "");
  Touch(game / "HISCORE.XML");
  EXPECT_EQ(SharedFolderReason(game, names, me), "");

  for (fs::perms shared : {fs::perms::others_write, fs::perms::others_write | fs::perms::sticky_bit}) {
    fs::permissions(game, shared, fs::perm_options::add);
    EXPECT_NE(SharedFolderReason(game, names, me), "") << static_cast<int>(shared);
    fs::permissions(game, fs::perms::others_write | fs::perms::sticky_bit, fs::perm_options::remove);
  }
  fs::permissions(game / "replays", fs::perms::others_write, fs::perm_options::add);
  EXPECT_NE(SharedFolderReason(game, names, me).find("replays"), std::string::npos);
  fs::permissions(game / "replays", fs::perms::others_write, fs::perm_options::remove);

  // Through a parent anyone can write, the folder itself could be swapped;
  // under a sticky one (as /tmp) it cannot.
  fs::permissions(root, fs::perms::all);
  EXPECT_NE(SharedFolderReason(game, names, me), "");
  fs::permissions(root, fs::perms::sticky_bit, fs::perm_options::add);
  EXPECT_EQ(SharedFolderReason(game, names, me), "");
  fs::permissions(root, fs::perms::owner_all);

  // Files planted by another user, links included.
  if (me != 0) GTEST_SKIP() << "only root can give a file to another user";
  constexpr uid_t Other = 4242;
  fs::create_symlink(game / "HISCORE.XML", game / "glyphfall.db");
  ASSERT_EQ(::lchown((game / "glyphfall.db").c_str(), Other, Other), 0);
  EXPECT_NE(SharedFolderReason(game, names, me).find("glyphfall.db"), std::string::npos);
  fs::remove(game / "glyphfall.db");
  ASSERT_EQ(::chown((game / "HISCORE.XML").c_str(), Other, Other), 0);
  EXPECT_NE(SharedFolderReason(game, names, me).find("HISCORE.XML"), std::string::npos);
  // The player's own folder, writable by a group that is not the player's alone.
  fs::remove(game / "HISCORE.XML");
  ASSERT_EQ(::chown(game.c_str(), me, Other), 0);
  fs::permissions(game, fs::perms::group_write, fs::perm_options::add);
  EXPECT_NE(SharedFolderReason(game, names, me), "");
  // Owned by another user outright.
  ASSERT_EQ(::chown(game.c_str(), Other, Other), 0);
  fs::permissions(game, fs::perms::group_write, fs::perm_options::remove);
  EXPECT_NE(SharedFolderReason(game, names, me).find("another user"), std::string::npos);
}
