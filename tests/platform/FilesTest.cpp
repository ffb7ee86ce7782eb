// Reading without blocking, replacing files in one step, and the save lock.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Files.h"
#include "support/FifoWatchdog.h"

namespace fs = std::filesystem;

namespace {

class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "glyphfall-files-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(Path(name), std::ios::binary) << text;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string Refusal(const std::string& path) const {
    try {
      TReadFile file(path);
    } catch (const EFileError& e) {
      return e.what();
    }
    return "";
  }
  fs::path dir_;
};

TEST_F(Files, OnlyRegularFilesAreReadAndNoneBlocks) {
  ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);
  TFifoWatchdog watchdog(Path("fifo"));
  int sock = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socketPath = Path("socket");
  ASSERT_LT(socketPath.size(), sizeof address.sun_path);
  std::copy(socketPath.begin(), socketPath.end(), address.sun_path);
  ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  for (const std::string& path : {Path("fifo"), socketPath, std::string("/dev/null"), dir_.string()})
    EXPECT_NE(Refusal(path).find("not a regular file"), std::string::npos) << path << ": " << Refusal(path);
  close(sock);
  EXPECT_FALSE(watchdog.Fired());
  EXPECT_NE(Refusal(Path("missing")).find("No such file"), std::string::npos);

  Write("ten", "0123456789");
  std::string text;
  EXPECT_TRUE(ReadWholeFile(Path("ten"), 10, text));
  EXPECT_EQ(text, "0123456789");
  EXPECT_FALSE(ReadWholeFile(Path("ten"), 9, text));
  EXPECT_EQ(text, "");
}

TEST_F(Files, ReplacingKeepsTheModeAndWritesThroughThePlayersOwnLink) {
  Write("table", "old");
  fs::permissions(Path("table"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  WriteFileAtomically(Path("table"), "new");
  EXPECT_EQ(Read("table"), "new");
  EXPECT_EQ(fs::status(Path("table")).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  fs::create_directory(Path("synced"));
  Write("synced/real", "old");
  fs::create_symlink(Path("synced/real"), Path("link"));
  WriteFileAtomically(Path("link"), "through");
  EXPECT_TRUE(fs::is_symlink(Path("link")));
  EXPECT_EQ(Read("synced/real"), "through");

  // A link someone else made in a shared folder could aim the save anywhere.
  if (lchown(Path("link").c_str(), 65534, 65534) == 0) {
    EXPECT_THROW(WriteFileAtomically(Path("link"), "hijacked"), EFileError);
    EXPECT_EQ(Read("synced/real"), "through");
  }
  EXPECT_THROW(WriteFileAtomically(Path("synced"), "x"), EFileError);  // a folder is never replaced
}

TEST_F(Files, OnlyOldLeftoversOfOurOwnNamingAreRemoved) {
  const std::string old = std::string("table") + TempFileInfix + "AAAAAAAAAAAA";
  const std::string fresh = std::string("table") + TempFileInfix + "BBBBBBBBBBBB";
  const std::string other = std::string("table") + TempFileInfix + "mine";
  for (const std::string& name : {old, fresh, other}) Write(name, "left over");
  const timespec hourAgo[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
  for (const std::string& name : {old, other}) ASSERT_EQ(utimensat(AT_FDCWD, Path(name).c_str(), hourAgo, 0), 0);
  WriteFileAtomically(Path("table"), "new");
  EXPECT_FALSE(fs::exists(Path(old)));
  EXPECT_TRUE(fs::exists(Path(fresh)));  // a save in another copy may be writing it
  EXPECT_TRUE(fs::exists(Path(other)));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 3);
}

TEST_F(Files, TheLockKeepsASecondHolderOutUntilReleased) {
  auto lockNow = [&] {
    try {
      TFileLock second(Path("table.lock"), 0);
      return true;
    } catch (const EFileError&) {
      return false;
    }
  };
  {
    TFileLock first(Path("table.lock"));
    EXPECT_FALSE(lockNow());
  }
  EXPECT_TRUE(lockNow());
  fs::create_symlink(Path("elsewhere"), Path("planted.lock"));
  EXPECT_THROW(TFileLock(Path("planted.lock"), 0), EFileError);
  EXPECT_FALSE(fs::exists(Path("elsewhere")));
}

}  // namespace
