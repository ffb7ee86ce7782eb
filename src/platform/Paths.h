// Where the program's data and the player's scores live.
#pragma once
#include <filesystem>
#include <string>

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
