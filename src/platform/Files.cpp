#include "platform/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <random>
#include <thread>
#include <utility>

namespace {

[[noreturn]] void Fail(const char* what, const std::string& path, int err) {
  throw EFileError(std::string(what) + " " + path + ": " + std::strerror(err));
}

// Closes the descriptor on every way out.
struct TFd {
  int fd = -1;
  ~TFd() {
    if (fd >= 0) ::close(fd);
  }
  int Release() {
    int f = fd;
    fd = -1;
    return f;
  }
};

TSaveCalls& SystemSaveCalls() {
  static TSaveCalls calls;
  return calls;
}

TSaveCalls* CurrentSaveCalls = nullptr;

TSaveCalls& SaveCalls() { return CurrentSaveCalls ? *CurrentSaveCalls : SystemSaveCalls(); }

void WriteAll(int fd, std::string_view bytes, const std::string& path) {
  while (!bytes.empty()) {
    const long n = SaveCalls().Write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail("Could not write", path, errno);
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

constexpr size_t TempSuffixLength = 12;
constexpr char TempAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
// A save takes milliseconds; a temporary file this old is a crash's leftover.
constexpr time_t LeftoverAgeSeconds = 10 * 60;
// A chain of links longer than this is a loop, or not the player's doing.
constexpr int MaxLinksFollowed = 8;
// Name collisions are astronomically rare; only a folder full of planted
// names could use these up.
constexpr int TempNameAttempts = 16;

std::string TempName(const std::string& target) {
  static std::random_device source;
  std::string name = target + TempFileInfix;
  std::uniform_int_distribution<size_t> pick(0, sizeof TempAlphabet - 2);
  for (size_t i = 0; i < TempSuffixLength; ++i) name += TempAlphabet[pick(source)];
  return name;
}

bool IsTempNameOf(const std::string& entry, const std::string& base) {
  const std::string prefix = base + TempFileInfix;
  if (entry.size() != prefix.size() + TempSuffixLength || entry.compare(0, prefix.size(), prefix) != 0) return false;
  return entry.find_first_not_of(TempAlphabet, prefix.size()) == std::string::npos;
}

// Only our own regular files of our own naming, and only old ones: a younger
// one may belong to a save still running in another copy.
void RemoveLeftovers(const std::string& folder, const std::string& base) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  const time_t now = std::time(nullptr);
  while (dirent* e = ::readdir(dir)) {
    if (!IsTempNameOf(e->d_name, base)) continue;
    struct stat st {};
    if (::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISREG(st.st_mode) && st.st_uid == ::geteuid() && now - st.st_mtime >= LeftoverAgeSeconds)
      ::unlinkat(::dirfd(dir), e->d_name, 0);
  }
  ::closedir(dir);
}

// Where the bytes really go, and the permissions the new file gets (-1: as a
// new file is created).
std::string ResolveTarget(const std::string& path, int& mode) {
  mode = -1;
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) return path;
    Fail("Could not save", path, errno);
  }
  std::string target = path;
  for (int depth = 0; S_ISLNK(st.st_mode); ++depth) {
    if (st.st_uid != ::geteuid())
      throw EFileError("Could not save " + path + ": it is a link made by another user, which is not followed");
    if (depth == MaxLinksFollowed) Fail("Could not save", path, ELOOP);
    std::error_code ec;
    const std::filesystem::path to = std::filesystem::read_symlink(target, ec);
    if (ec) Fail("Could not save", path, ec.value());
    target = (to.is_absolute() ? to : std::filesystem::path(target).parent_path() / to).string();
    if (::lstat(target.c_str(), &st) != 0) {
      if (errno == ENOENT) return target;  // a link to a file still to be made
      Fail("Could not save", target, errno);
    }
  }
  if (!S_ISREG(st.st_mode)) throw EFileError("Could not save " + path + ": not a regular file");
  mode = static_cast<int>(st.st_mode & 0777);
  return target;
}

}  // namespace

// ---- Reading ----

TReadFile::TReadFile(const std::string& path) : path_(path) {
  // Looked at before it is opened, so that opening a device has no effect on
  // it either; checked again once open, in case the path changed meanwhile.
  struct stat before {};
  if (::stat(path.c_str(), &before) != 0) Fail("Could not open", path, errno);
  if (!S_ISREG(before.st_mode)) throw EFileError("Could not open " + path + ": not a regular file");
  TFd f;
  f.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (f.fd < 0) Fail("Could not open", path, errno);
  struct stat st {};
  if (::fstat(f.fd, &st) != 0) Fail("Could not open", path, errno);
  if (!S_ISREG(st.st_mode)) throw EFileError("Could not open " + path + ": not a regular file");
  size_ = st.st_size;
  fd_ = f.Release();
}

TReadFile::~TReadFile() {
  if (fd_ >= 0) ::close(fd_);
}

size_t TReadFile::Read(void* buffer, size_t count) {
  size_t done = 0;
  auto* p = static_cast<char*>(buffer);
  while (done < count) {
    ssize_t n = ::read(fd_, p + done, count - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail("Could not read", path_, errno);
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}

int64_t TReadFile::Seek(int64_t offset, TSeekOrigin origin) {
  const int whence = origin == TSeekOrigin::Beginning ? SEEK_SET : origin == TSeekOrigin::Current ? SEEK_CUR : SEEK_END;
  const off_t r = ::lseek(fd_, static_cast<off_t>(offset), whence);
  if (r < 0) Fail("Could not read", path_, errno);
  return r;
}

bool ReadWholeFile(const std::string& path, size_t maxBytes, std::string& text) {
  text.clear();
  TReadFile file(path);
  if (file.Size() < 0 || static_cast<uint64_t>(file.Size()) > maxBytes) return false;
  // One byte past the limit, in case the file grew since it was opened.
  text.resize(static_cast<size_t>(file.Size()) + 1);
  size_t got = file.Read(text.data(), text.size());
  while (got == text.size() && got <= maxBytes) {
    text.resize(std::min(maxBytes + 1, text.size() * 2));
    got += file.Read(text.data() + got, text.size() - got);
  }
  if (got > maxBytes) {
    text.clear();
    return false;
  }
  text.resize(got);
  return true;
}

// ---- Writing ----

long TSaveCalls::Write(int fd, const void* data, size_t size) { return ::write(fd, data, size); }
int TSaveCalls::Sync(int fd) { return ::fsync(fd); }
int TSaveCalls::Close(int fd) { return ::close(fd); }
int TSaveCalls::Rename(const std::string& from, const std::string& to) { return ::rename(from.c_str(), to.c_str()); }

void TSaveCalls::SyncFolder(const std::string& folder) {
  TFd dir;
  dir.fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir.fd >= 0) ::fsync(dir.fd);
}

TSaveCalls* SetSaveCalls(TSaveCalls* calls) { return std::exchange(CurrentSaveCalls, calls); }

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  int mode = -1;
  const std::string target = ResolveTarget(path, mode);
  const std::string folder = FolderOf(target);
  RemoveLeftovers(folder, NameOf(target));

  TSaveCalls& calls = SaveCalls();
  std::string temp;
  TFd f;
  for (int attempt = 0; f.fd < 0; ++attempt) {
    temp = TempName(target);
    f.fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (f.fd < 0 && (errno != EEXIST || attempt + 1 == TempNameAttempts)) Fail("Could not create", temp, errno);
  }
  try {
    if (mode >= 0 && ::fchmod(f.fd, static_cast<mode_t>(mode)) != 0) Fail("Could not write", temp, errno);
    WriteAll(f.fd, bytes, temp);
    if (calls.Sync(f.fd) != 0) Fail("Could not write", temp, errno);
    if (calls.Close(f.Release()) != 0) Fail("Could not write", temp, errno);
    if (calls.Rename(temp, target) != 0) Fail("Could not replace", target, errno);
  } catch (...) {
    ::unlink(temp.c_str());
    throw;
  }
  // Make the rename itself durable; a failure here loses nothing already on disk.
  calls.SyncFolder(folder);
  FileSaved(path);
}

bool CreateFileExclusively(const std::string& path) {
  TFd f;
  f.fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (f.fd >= 0) return true;
  if (errno == EEXIST) return false;
  Fail("Could not create", path, errno);
}

namespace {
std::function<void(const std::string&)>& SavedHook() {
  static std::function<void(const std::string&)> hook;
  return hook;
}
}  // namespace

void SetFileSavedHook(std::function<void(const std::string&)> hook) { SavedHook() = std::move(hook); }

void FileSaved(const std::string& path) {
  if (!SavedHook()) return;
  try {
    SavedHook()(path);
  } catch (...) {
    // The file is already safely in place; a hook that fails loses nothing.
  }
}

// ---- Locking ----

TFileLock::TFileLock(const std::string& lockPath, uint32_t waitMs) {
  // Readable by the player alone: anyone who can open the file can lock it,
  // and so hold up every save. Opened for writing where it can be, which
  // some file systems need before they lock.
  constexpr int Flags = O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
  TFd f;
  f.fd = ::open(lockPath.c_str(), O_RDWR | Flags, 0600);
  if (f.fd < 0 && (errno == EACCES || errno == EROFS)) f.fd = ::open(lockPath.c_str(), O_RDONLY | Flags, 0600);
  if (f.fd < 0) Fail("Could not lock", lockPath, errno);
  struct stat st {};
  if (::fstat(f.fd, &st) != 0) Fail("Could not lock", lockPath, errno);
  if (!S_ISREG(st.st_mode)) throw EFileError("Could not lock " + lockPath + ": not a regular file");
  // One an older version made readable by all is closed to others now.
  if (st.st_uid == ::geteuid() && (st.st_mode & 077)) ::fchmod(f.fd, st.st_mode & 0700);
  // Polled rather than blocking, so that a copy that hangs while holding the
  // lock cannot hang this one too.
  constexpr auto PollInterval = std::chrono::milliseconds(2);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  while (::flock(f.fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) Fail("Could not lock", lockPath, errno);
    if (std::chrono::steady_clock::now() >= deadline)
      throw EFileError("Could not lock " + lockPath + ": another program has held it for too long");
    std::this_thread::sleep_for(PollInterval);
  }
  fd_ = f.Release();
}

TFileLock::~TFileLock() {
  if (fd_ >= 0) ::close(fd_);
}

std::vector<std::string> RegularFilesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code ignored;
    if (it->is_regular_file(ignored)) names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}
