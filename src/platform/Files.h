// Reading and writing the program's files safely. Every file the program
// reads is opened through TReadFile, so a FIFO, a device or a socket in its
// place is refused at once instead of hanging start-up. Every file it writes
// goes through WriteFileAtomically, so a crash, a full disk, another local
// user or a second copy of the game can never leave it half-written. A
// TFileLock keeps the copies of the game from saving the same file at once.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Messages name the file and give the system's reason.
class EFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TSeekOrigin { Beginning, Current, End };

// A regular file open for reading. The open never blocks: anything but a
// regular file is refused with "Could not open PATH: not a regular file".
class TReadFile {
 public:
  explicit TReadFile(const std::string& path);
  ~TReadFile();
  TReadFile(const TReadFile&) = delete;
  TReadFile& operator=(const TReadFile&) = delete;

  // Up to count bytes, fewer only at the end of the file.
  size_t Read(void* buffer, size_t count);
  // Returns the new position.
  int64_t Seek(int64_t offset, TSeekOrigin origin);
  // The size when the file was opened.
  int64_t Size() const { return size_; }
  const std::string& Path() const { return path_; }

 private:
  int fd_ = -1;
  int64_t size_ = 0;
  std::string path_;
};

// The names of the regular files in folder (links followed), sorted; none
// when the folder cannot be read.
std::vector<std::string> RegularFilesIn(const std::string& folder);

// The whole file into text. False when it holds more than maxBytes (text is
// then empty); EFileError when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, size_t maxBytes, std::string& text);

// Replaces the file at path with bytes in one step. The bytes go to a new
// file of unpredictable name beside the target (created exclusively, never
// through a link), are flushed to the disk and renamed over the target; on
// any failure the old file stays exactly as it was and EFileError says why.
// The file keeps its permissions. A symbolic link at path that the player
// owns is written through, so the link stays; a link someone else made is
// refused, because in a shared folder it could aim the save at any of the
// player's files. Temporary files a crash left behind are removed once they
// are old enough that no save can still be writing them.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// The system calls WriteFileAtomically makes once its temporary file is open,
// so that a test can watch their order (the bytes must be on the disk before
// the rename makes them the file) or make one of them fail. Each returns what
// the system call does: -1 with errno set on failure.
class TSaveCalls {
 public:
  virtual ~TSaveCalls() = default;
  virtual long Write(int fd, const void* data, size_t size);
  virtual int Sync(int fd);
  virtual int Close(int fd);
  virtual int Rename(const std::string& from, const std::string& to);
  // Makes the rename itself lasting; a failure there loses nothing.
  virtual void SyncFolder(const std::string& folder);
};
// The calls every save makes from now on (nullptr: the system's own); returns
// the ones set before.
TSaveCalls* SetSaveCalls(TSaveCalls* calls);

// Makes an empty file at path, only if nothing is there yet (a link
// included): true when made, false when the name is taken; EFileError when
// the folder refuses. Claims a name before WriteFileAtomically fills it.
bool CreateFileExclusively(const std::string& path);

// Called with the path after every successful WriteFileAtomically, so a
// platform whose files live in memory (the browser) can make them lasting.
// Empty by default; an exception from the hook is not the save's failure.
void SetFileSavedHook(std::function<void(const std::string&)> hook);
void FileSaved(const std::string& path);

// The temporary name WriteFileAtomically would use for path: the target
// followed by this and twelve random letters or digits.
inline constexpr char TempFileInfix[] = ".tmp-";

// An exclusive advisory lock on lockPath (created when missing, readable by
// the player alone, never through a link), held for the object's life. Every copy of the program that
// saves a file takes the lock beside it first, so their saves never overlap.
// Waits at most waitMs for another holder; EFileError when it cannot lock.
class TFileLock {
 public:
  static constexpr uint32_t DefaultWaitMs = 5000;
  explicit TFileLock(const std::string& lockPath, uint32_t waitMs = DefaultWaitMs);
  ~TFileLock();
  TFileLock(const TFileLock&) = delete;
  TFileLock& operator=(const TFileLock&) = delete;

 private:
  int fd_ = -1;
};
