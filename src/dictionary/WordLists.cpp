#include "dictionary/WordLists.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "platform/Files.h"

namespace {

struct TLanguageFile {
  const char* File;
  const char* Name;
};
// The files Debian's word-list packages install, for the languages written
// in the Latin letters the game's font has.
constexpr TLanguageFile LanguageFiles[] = {
    {"american-english", "English (US)"},
    {"british-english", "English (UK)"},
    {"canadian-english", "English (Canada)"},
    {"australian-english", "English (Australia)"},
    {"ngerman", "Deutsch"},
    {"ogerman", "Deutsch (alte Rechtschreibung)"},
    {"swiss", "Deutsch (Schweiz)"},
    {"french", "Français"},
    {"spanish", "Español"},
    {"italian", "Italiano"},
    {"portuguese", "Português"},
    {"brazilian", "Português do Brasil"},
    {"dutch", "Nederlands"},
    {"swedish", "Svenska"},
    {"danish", "Dansk"},
    {"bokmaal", "Norsk bokmål"},
    {"nynorsk", "Norsk nynorsk"},
    {"polish", "Polski"},
    {"catalan", "Català"},
    {"faroese", "Føroyskt"},
    {"irish", "Gaeilge"},
    {"galician-minimos", "Galego"},
};

// Size variants of the English lists ("american-english-large").
constexpr std::string_view SizeSuffixes[] = {"-small", "-large", "-huge", "-insane"};

}  // namespace

std::string UserWordFolder(const std::string& xdgDataHome, const std::string& home) {
  std::string base = !xdgDataHome.empty() ? xdgDataHome : home.empty() ? std::string() : home + "/.local/share";
  return base.empty() ? std::string() : base + "/glyphfall/words";
}

std::string LanguageOfDictFile(const std::string& fileName) {
  std::string_view name(fileName), size;
  for (std::string_view suffix : SizeSuffixes)
    if (name.size() > suffix.size() && name.substr(name.size() - suffix.size()) == suffix) {
      size = suffix.substr(1);
      name.remove_suffix(suffix.size());
    }
  for (const TLanguageFile& f : LanguageFiles)
    if (name == f.File) return size.empty() ? f.Name : std::string(f.Name) + ", " + std::string(size);
  return std::string();
}

std::vector<TWordListChoice> InstalledWordLists() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  const char* dict = std::getenv(SystemWordFolderVariable);
  return FindWordLists(dict && *dict ? dict : SystemWordFolder, UserWordFolder(xdg ? xdg : "", home ? home : ""));
}

std::vector<TWordListChoice> FindWordLists(const std::string& systemFolder, const std::string& userFolder) {
  std::vector<TWordListChoice> lists{{"English", ""}};
  std::vector<TWordListChoice> languages;
  for (const std::string& file : RegularFilesIn(systemFolder)) {
    std::string name = LanguageOfDictFile(file);
    if (!name.empty()) languages.push_back({name, systemFolder + "/" + file});
  }
  std::sort(languages.begin(), languages.end(), [](auto& a, auto& b) { return a.Name < b.Name; });
  lists.insert(lists.end(), languages.begin(), languages.end());
  constexpr std::string_view Txt = ".txt";
  if (!userFolder.empty())
    for (const std::string& file : RegularFilesIn(userFolder))
      if (file.size() > Txt.size() && file.ends_with(Txt))
        lists.push_back({file.substr(0, file.size() - Txt.size()), userFolder + "/" + file});
  return lists;
}
