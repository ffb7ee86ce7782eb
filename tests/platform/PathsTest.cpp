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

// Also where no data is found anywhere.
TEST_F(PathsTest, BuildTreeAndPortableCopyUseTheExecutablesFolder) {
  EXPECT_EQ(ResolveProgramFolder(root / "nowhere"), root / "nowhere");
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

// A game folder others can write, or whose files another user owns, could
// have the player's files planted or read: it is no place for them.
TEST_F(PathsTest, AFolderOthersCanWriteOrWhoseFilesTheyOwnIsNoPlaceForThePlayersFiles) {
  const fs::path game = root / "game";
  fs::create_directories(game / "replays");
  Touch(game / "HISCORE.XML");
  const uid_t me = ::geteuid();
  auto reason = [&] { return SharedFolderReason(game, {"HISCORE.XML", "glyphfall.db", "replays"}, me); };
  auto flip = [](const fs::path& p, fs::perms bits, bool on) {
    fs::permissions(p, bits, on ? fs::perm_options::add : fs::perm_options::remove);
  };
  EXPECT_EQ(reason(), "");
  for (const fs::path& shared : {game, game / "replays"}) {
    flip(shared, fs::perms::others_write | fs::perms::sticky_bit, true);
    EXPECT_NE(reason(), "") << shared;
    flip(shared, fs::perms::others_write | fs::perms::sticky_bit, false);
  }
  // Through a parent anyone can write the folder could be swapped; not under a sticky one (/tmp).
  flip(root, fs::perms::all, true);
  EXPECT_NE(reason(), "");
  flip(root, fs::perms::sticky_bit, true);
  EXPECT_EQ(reason(), "");
  fs::permissions(root, fs::perms::owner_all);

  if (me != 0) GTEST_SKIP() << "only root can give a file to another user";
  constexpr uid_t Other = 4242;
  // What root owns (and only root can write) is as safe as the player's own.
  EXPECT_EQ(SharedFolderReason(game, {"HISCORE.XML"}, Other), "");
  fs::create_symlink(game / "HISCORE.XML", game / "glyphfall.db");  // a link planted by another user
  ASSERT_EQ(::lchown((game / "glyphfall.db").c_str(), Other, Other), 0);
  EXPECT_NE(reason().find("glyphfall.db"), std::string::npos);
  fs::remove(game / "glyphfall.db");
  ASSERT_EQ(::chown((game / "HISCORE.XML").c_str(), Other, Other), 0);
  EXPECT_NE(reason().find("HISCORE.XML"), std::string::npos);
  fs::remove(game / "HISCORE.XML");
  ASSERT_EQ(::chown(game.c_str(), me, Other), 0);  // writable by a group not the player's alone
  flip(game, fs::perms::group_write, true);
  EXPECT_NE(reason(), "");
  ASSERT_EQ(::chown(game.c_str(), Other, Other), 0);
  flip(game, fs::perms::group_write, false);
  EXPECT_NE(reason().find("another user"), std::string::npos);
}
