// The SQLite layer: transactions keep all or nothing, and damage inside a
// file that still opens is found before the game trusts it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/Database.h"
#include "platform/Files.h"

namespace fs = std::filesystem;

namespace {

class Database : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "glyphfall-db-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    path_ = (fs::path(pattern) / "game.db").string();
  }
  void TearDown() override { fs::remove_all(fs::path(path_).parent_path()); }
  int64_t Rows(TDatabase& db) {
    TStatement s(db, "SELECT COUNT(*) FROM t");
    return s.Step() ? s.Int(0) : -1;
  }
  std::string path_;
};

TEST_F(Database, ATransactionIsKeptOnlyWhenCommittedAndTheCommitIsSaved) {
  std::vector<std::string> saved;
  SetFileSavedHook([&](const std::string& p) { saved.push_back(p); });
  TDatabase db(path_);
  db.Exec("CREATE TABLE t(x)");
  {
    TTransaction t(db);
    db.Exec("INSERT INTO t VALUES (1)");
  }
  EXPECT_EQ(Rows(db), 0);
  EXPECT_TRUE(saved.empty());
  {
    TTransaction t(db);
    db.Exec("INSERT INTO t VALUES (1)");
    t.Commit();
  }
  EXPECT_EQ(Rows(db), 1);
  EXPECT_EQ(saved, std::vector<std::string>{path_});
  SetFileSavedHook(nullptr);
}

TEST_F(Database, DamageInsideAFileThatOpensIsFound) {
  {
    TDatabase db(path_);
    db.Exec("CREATE TABLE t(x); CREATE INDEX tx ON t(x)");
    TTransaction t(db);
    TStatement insert(db, "INSERT INTO t VALUES (?)");
    for (int i = 0; i < 400; ++i) {
      insert.Bind(1, std::string(100, static_cast<char>('a' + i % 26)) + std::to_string(i)).Step();
      insert.Reset();
    }
    t.Commit();
    db.CheckIntegrity();
  }
  // Scribble over the middle of a page past the header.
  {
    std::fstream f(path_, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(3 * 4096 + 8);
    const std::string junk(64, '\xA5');
    f.write(junk.data(), static_cast<std::streamsize>(junk.size()));
  }
  TDatabase db(path_);
  try {
    db.CheckIntegrity();
    ADD_FAILURE() << "a damaged file passed the check";
  } catch (const EDatabaseError& e) {
    EXPECT_TRUE(e.Damaged) << e.what();
  }
}

}  // namespace
