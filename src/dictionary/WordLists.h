// The word lists a player can choose: the bundled English list, the Debian
// word lists installed in /usr/share/dict (named in their own language) and
// the player's own lists in $XDG_DATA_HOME/glyphfall/words/*.txt.
#pragma once
#include <string>
#include <vector>

struct TWordListChoice {
  std::string Name;  // as the options screen shows it
  std::string Path;  // empty for the bundled list
};

inline constexpr const char* SystemWordFolder = "/usr/share/dict";
// Names another folder in place of SystemWordFolder (tests, packaging checks).
inline constexpr const char* SystemWordFolderVariable = "GLYPHFALL_DICT_DIR";

// The player's own word-list folder: $XDG_DATA_HOME/glyphfall/words, by
// default ~/.local/share/glyphfall/words. xdgDataHome and home may be empty.
std::string UserWordFolder(const std::string& xdgDataHome, const std::string& home);

// The language name of a Debian word-list file ("ngerman" -> "Deutsch"), or
// empty for a file that is not a word list of a language the font draws.
std::string LanguageOfDictFile(const std::string& fileName);

// FindWordLists over /usr/share/dict (or $GLYPHFALL_DICT_DIR when set and
// not empty) and the player's folder from the environment.
std::vector<TWordListChoice> InstalledWordLists();

// English (bundled) first, then the installed languages by name, then the
// player's lists by file name (without ".txt"). Missing folders give nothing.
std::vector<TWordListChoice> FindWordLists(const std::string& systemFolder, const std::string& userFolder);
