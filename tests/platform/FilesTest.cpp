// Reading only regular files, replacing files in one step, and the save lock.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Files.h"

namespace fs = std::filesystem;

namespace {

class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "glyphfall-files-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void Write(const std::string& name, const std::string& text) const { std::ofstream(Path(name)) << text; }
  std::string Read(const std::string& name) const {
    std::ostringstream s;
    s << std::ifstream(Path(name)).rdbuf();
    return s.str();
  }
  fs::path dir_;
};

TEST_F(Files, OnlyRegularFilesAreRead) {
  for (const std::string& path : {std::string("/dev/null"), dir_.string()}) {
    try {
      TReadFile file(path);
      ADD_FAILURE() << path << " was opened";
    } catch (const EFileError& e) {
      EXPECT_NE(std::string(e.what()).find("not a regular file"), std::string::npos) << e.what();
    }
  }
  Write("ten", "0123456789");
  std::string text;
  EXPECT_TRUE(ReadWholeFile(Path("ten"), 10, text));
  EXPECT_EQ(text, "0123456789");
  EXPECT_FALSE(ReadWholeFile(Path("ten"), 9, text));
  EXPECT_THROW(ReadWholeFile(Path("missing"), 9, text), EFileError);
}

TEST_F(Files, ReplacingKeepsTheModeAndFollowsOnlyThePlayersOwnLinks) {
  Write("table", "old");
  const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(Path("table"), mode);
  WriteFileAtomically(Path("table"), "new");
  EXPECT_EQ(Read("table"), "new");
  EXPECT_EQ(fs::status(Path("table")).permissions() & fs::perms::all, mode);

  fs::create_directory(Path("synced"));
  fs::create_symlink(Path("synced/real"), Path("link"));
  WriteFileAtomically(Path("link"), "through");
  EXPECT_TRUE(fs::is_symlink(Path("link")));
  EXPECT_EQ(Read("synced/real"), "through");
  // A link another user made in a shared folder could aim the save anywhere.
  const uid_t other = geteuid() == 65534 ? 1 : 65534;
  if (lchown(Path("link").c_str(), other, other) == 0) {  // only root may give a link away
    EXPECT_THROW(WriteFileAtomically(Path("link"), "hijacked"), EFileError);
    EXPECT_EQ(Read("synced/real"), "through");
  }
  EXPECT_THROW(WriteFileAtomically(Path("synced"), "x"), EFileError);
}

// Leftovers of a crash go at the next save, but only old ones of our naming:
// a young one may belong to a save running in another copy.
TEST_F(Files, OnlyOldLeftoversOfOurOwnNamingAreRemoved) {
  const std::string prefix = std::string("table") + TempFileInfix;
  for (const char* suffix : {"AAAAAAAAAAAA", "BBBBBBBBBBBB", "mine"}) Write(prefix + suffix, "left over");
  const timespec hourAgo[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
  for (const char* suffix : {"AAAAAAAAAAAA", "mine"})
    ASSERT_EQ(utimensat(AT_FDCWD, Path(prefix + suffix).c_str(), hourAgo, 0), 0);
  WriteFileAtomically(Path("table"), "new");
  EXPECT_FALSE(fs::exists(Path(prefix + "AAAAAAAAAAAA")));
  EXPECT_TRUE(fs::exists(Path(prefix + "BBBBBBBBBBBB")));
  EXPECT_TRUE(fs::exists(Path(prefix + "mine")));
}

TEST_F(Files, TheLockKeepsASecondHolderOut) {
  auto lockable = [&](const std::string& name) {
    try {
      TFileLock lock(Path(name), 0);
      return true;
    } catch (const EFileError&) {
      return false;
    }
  };
  {
    TFileLock first(Path("table.lock"));
    EXPECT_FALSE(lockable("table.lock"));
  }
  EXPECT_TRUE(lockable("table.lock"));
  // Another user who could open it could lock it and hold up every save.
  std::ofstream(Path("old.lock")) << "";
  fs::permissions(Path("old.lock"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
  EXPECT_TRUE(lockable("old.lock"));
  for (const char* name : {"table.lock", "old.lock"})
    EXPECT_EQ(fs::status(Path(name)).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write)
        << name;
  fs::create_symlink(Path("elsewhere"), Path("planted.lock"));
  EXPECT_FALSE(lockable("planted.lock"));
  EXPECT_FALSE(fs::exists(Path("elsewhere")));
}

// The bytes must be on the disk before the rename makes them the file, or a
// crash just after the save can leave an empty file where the old one was.
// A failing step leaves the old file whole and no temporary behind.
TEST_F(Files, ASaveSyncsItsBytesBeforeTheRenameAndKeepsTheOldFileOnFailure) {
  struct TWatched : TSaveCalls {
    std::vector<std::string> log;
    int syncFails = 0;
    int writtenFd = -1;
    long Write(int fd, const void* data, size_t size) override {
      log.push_back("write");
      writtenFd = fd;
      return TSaveCalls::Write(fd, data, size);
    }
    int Sync(int fd) override {
      log.push_back(fd == writtenFd ? "sync" : "sync another file");
      if (syncFails) return errno = EIO, -1;
      return TSaveCalls::Sync(fd);
    }
    int Close(int fd) override { return log.push_back("close"), TSaveCalls::Close(fd); }
    int Rename(const std::string& from, const std::string& to) override {
      return log.push_back("rename"), TSaveCalls::Rename(from, to);
    }
    void SyncFolder(const std::string& folder) override {
      log.push_back(folder == dir_ ? "sync folder" : "sync " + folder);
      TSaveCalls::SyncFolder(folder);
    }
    fs::path dir_;
  } watched;
  watched.dir_ = dir_;
  TSaveCalls* before = SetSaveCalls(&watched);
  Write("table", "old");
  WriteFileAtomically(Path("table"), "new");
  EXPECT_EQ(watched.log, (std::vector<std::string>{"write", "sync", "close", "rename", "sync folder"}));
  EXPECT_EQ(Read("table"), "new");

  watched.log.clear();
  watched.syncFails = 1;
  try {
    WriteFileAtomically(Path("table"), "lost");
    ADD_FAILURE() << "a save whose bytes never reached the disk succeeded";
  } catch (const EFileError& e) {
    EXPECT_NE(std::string(e.what()).find("Could not write"), std::string::npos) << e.what();
  }
  EXPECT_EQ(watched.log, (std::vector<std::string>{"write", "sync"}));
  EXPECT_EQ(Read("table"), "new");
  EXPECT_EQ(RegularFilesIn(dir_.string()), std::vector<std::string>{"table"});
  EXPECT_EQ(SetSaveCalls(before), &watched);
}

}  // namespace

// The browser makes its saves lasting from this hook: it must hear of every
// save that landed, and of none that failed; a failing hook is no failed save.
TEST_F(Files, TheSavedHookHearsOfSuccessfulSavesOnly) {
  std::vector<std::string> heard;
  SetFileSavedHook([&](const std::string& path) { heard.push_back(path); });
  WriteFileAtomically(Path("a.xml"), "one");
  EXPECT_THROW(WriteFileAtomically(Path("missing/b.xml"), "two"), EFileError);
  EXPECT_EQ(heard, std::vector<std::string>{Path("a.xml")});
  SetFileSavedHook([](const std::string&) { throw std::runtime_error("storage gone"); });
  EXPECT_NO_THROW(WriteFileAtomically(Path("a.xml"), "three"));
  EXPECT_EQ(Read("a.xml"), "three");
  SetFileSavedHook(nullptr);
}
