// Where the program's data and the player's scores live.
#pragma once
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

// The folder of the game's data files: next to the executable (a build tree
// or a portable copy), or ../share/glyphfall from it (an installed game).
std::filesystem::path ResolveProgramFolder(const std::filesystem::path& exeFolder);

// The folder for HISCORE.XML: the program's folder when the player may write
// there, otherwise $XDG_DATA_HOME/glyphfall (by default ~/.local/share/glyphfall).
// xdgDataHome and home may be empty (unset).
std::filesystem::path ResolveScoreFolder(const std::filesystem::path& programFolder, bool programFolderWritable,
                                         const std::string& xdgDataHome, const std::string& home);

// True when a new file can be created in folder.
bool FolderIsWritable(const std::filesystem::path& folder);

// Why folder is no place for the player's own files, or "" when it is one:
// another user can write in it (a sticky folder such as /tmp included), or
// can move it away through a folder above it that is not sticky, or owns
// it, or owns one of names in it (files or links the game would use). Only
// me (the player's user id) and root count as safe owners; a folder
// writable by a group counts as private when the group is me's own, with
// no other members.
std::string SharedFolderReason(const std::filesystem::path& folder, const std::vector<std::string>& names,
                               uid_t me);
