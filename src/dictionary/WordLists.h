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
// An environment variable naming another folder to look in instead of
// SystemWordFolder (tests point it at a folder of their own).
inline constexpr const char* SystemWordsVariable = "GLYPHFALL_SYSTEM_WORDS";

// The player's own word-list folder: $XDG_DATA_HOME/glyphfall/words, by
// default ~/.local/share/glyphfall/words. xdgDataHome and home may be empty.
std::string UserWordFolder(const std::string& xdgDataHome, const std::string& home);

// The language name of a Debian word-list file ("ngerman" -> "Deutsch"), or
// empty for a file that is not a word list of a language the font draws.
std::string LanguageOfDictFile(const std::string& fileName);

// Whether the language of a word-list file writes its nouns with a capital
// (German), judged by the Debian file name at the end of path.
bool CapitalisesNouns(const std::string& path);

// FindWordLists over /usr/share/dict (or $GLYPHFALL_SYSTEM_WORDS) and the
// player's folder from the environment.
std::vector<TWordListChoice> InstalledWordLists();

// English (bundled) first, then the installed languages by name, then the
// player's lists by file name (without ".txt"). Missing folders give nothing.
std::vector<TWordListChoice> FindWordLists(const std::string& systemFolder, const std::string& userFolder);
