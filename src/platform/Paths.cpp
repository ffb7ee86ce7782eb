#include "platform/Paths.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace fs = std::filesystem;

namespace {
constexpr const char* MarkerFile = "wordsenglish.txt";
}

fs::path ResolveProgramFolder(const fs::path& exeFolder) {
  std::error_code ec;
  if (fs::exists(exeFolder / MarkerFile, ec)) return exeFolder;
  fs::path installed = exeFolder / ".." / "share" / "glyphfall";
  if (fs::exists(installed / MarkerFile, ec)) {
    fs::path canonical = fs::weakly_canonical(installed, ec);
    return ec ? installed : canonical;
  }
  return exeFolder;
}

bool FolderIsWritable(const fs::path& folder) { return ::access(folder.c_str(), W_OK | X_OK) == 0; }

fs::path ResolveScoreFolder(const fs::path& programFolder, bool programFolderWritable, const std::string& xdgDataHome,
                            const std::string& home) {
  if (programFolderWritable) return programFolder;
  // Relative XDG paths are invalid by the XDG rules and are ignored.
  if (!xdgDataHome.empty() && fs::path(xdgDataHome).is_absolute()) return fs::path(xdgDataHome) / "glyphfall";
  if (!home.empty()) return fs::path(home) / ".local" / "share" / "glyphfall";
  return programFolder;
}

namespace {

bool SafeOwner(uid_t owner, uid_t me) { return owner == me || owner == 0; }

// The player's own group (user private groups): no one else is in it.
bool PrivateGroup(gid_t gid, uid_t me) {
  std::vector<char> buffer(16384);
  passwd pw{};
  passwd* user = nullptr;
  if (::getpwuid_r(me, &pw, buffer.data(), buffer.size(), &user) != 0 || !user || user->pw_gid != gid) return false;
  const std::string name = user->pw_name;
  std::vector<char> groupBuffer(16384);
  group gr{};
  group* found = nullptr;
  if (::getgrgid_r(gid, &gr, groupBuffer.data(), groupBuffer.size(), &found) != 0 || !found) return false;
  for (char** member = found->gr_mem; member && *member; ++member)
    if (name != *member) return false;
  return true;
}

// Whether someone other than me may create, remove or rename entries in it.
bool OthersCanWrite(const struct stat& st, uid_t me) {
  if (st.st_mode & S_IWOTH) return true;
  return (st.st_mode & S_IWGRP) && !PrivateGroup(st.st_gid, me);
}

}  // namespace

std::string SharedFolderReason(const fs::path& folder, const std::vector<std::string>& names, uid_t me) {
  std::error_code ec;
  const fs::path real = fs::weakly_canonical(folder, ec);
  const fs::path& at = ec ? folder : real;
  struct stat st {};
  if (::stat(at.c_str(), &st) != 0) return "";  // made later, by the player
  if (!SafeOwner(st.st_uid, me)) return at.string() + " belongs to another user";
  if (OthersCanWrite(st, me)) return "other users can write in " + at.string();
  for (fs::path above = at.parent_path(); !above.empty(); above = above.parent_path()) {
    struct stat up {};
    if (::stat(above.c_str(), &up) == 0 &&
        (!SafeOwner(up.st_uid, me) || (OthersCanWrite(up, me) && !(up.st_mode & S_ISVTX))))
      return "other users can move " + at.string() + " away through " + above.string();
    if (above == above.root_path()) break;
  }
  for (const std::string& name : names) {
    const fs::path file = at / name;
    struct stat own {};
    if (::lstat(file.c_str(), &own) != 0) continue;
    if (!SafeOwner(own.st_uid, me)) return file.string() + " belongs to another user";
    if (S_ISDIR(own.st_mode) && OthersCanWrite(own, me)) return "other users can write in " + file.string();
  }
  return "";
}
