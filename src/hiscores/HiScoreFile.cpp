// HISCORE.XML: a root element "root" holding one element per row (RANK1 ...
// RANK10), each with a NAME and then a SCORE element, and no attributes. A
// row may also hold a REPLAY element, the file name of its game's replay;
// readers that do not know it pass it by.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>
#include <system_error>

#include "framework/Utils.h"
#include "hiscores/HiScoreUnit.h"
#include "hiscores/XMLUnit.h"
#include "platform/Application.h"
#include "platform/Files.h"
#include "replay/ReplayUnit.h"

std::string HiScoreFolder;

std::string HiScoreFilePath(const std::string& fileName) {
  if (HiScoreFolder.empty()) return fileName;
  return (std::filesystem::path(HiScoreFolder) / fileName).string();
}

namespace {

// Ours is small; anything bigger is not a table this game wrote.
constexpr size_t MaxHiScoreFileSize = 64 * 1024;

void Report(const std::string& text) {
  if (Application)
    Application->ShowError(text);  // a message box and a line on stderr
  else
    std::fprintf(stderr, "%s\n", text.c_str());
}

// Keeps a damaged file as path.bad for whoever wants to mend it, and says so.
std::string SetAside(const std::string& path, bool& kept) {
  const std::string bad = path + ".bad";
  std::error_code ec;
  std::filesystem::rename(path, bad, ec);
  kept = !ec;
  return ec ? "It could not be kept as " + bad + " (" + ec.message() + ")" : "It was kept as " + bad;
}

// Whether path names anything, a link included; false too when that cannot
// be told, so that no message claims a file it never saw.
bool SomethingAt(const std::string& path) {
  std::error_code ec;
  const auto type = std::filesystem::symlink_status(path, ec).type();
  return !ec && type != std::filesystem::file_type::not_found && type != std::filesystem::file_type::none;
}

// Keeps the text of a damaged element short enough for a message box.
std::string Quoted(const std::string& text) {
  constexpr size_t Shown = 24;
  return "\"" + (text.size() > Shown ? text.substr(0, Shown) + "..." : text) + "\"";
}

}  // namespace

void THiScoreList::ReadTable(const std::string& path) {
  std::unique_ptr<TXML> xml = OpenXML(path, MaxHiScoreFileSize);
  TXmlNode root = xml->DocumentElement();
  int rowNumber = 0;
  for (TXmlNode row = root.FirstChild(); row && Count() < HiScoreRows; row = row.NextSibling()) {
    if (!row.IsElement()) continue;  // stray text between the rows
    ++rowNumber;
    TXmlNode score = row.ChildElement("SCORE");
    int32_t value = 0;
    if (!score) throw EXmlParseError(path + ": row " + std::to_string(rowNumber) + " has no SCORE");
    if (!ParseScore(score.Text(), value))
      throw EXmlParseError(path + ": the SCORE of row " + std::to_string(rowNumber) + ", " + Quoted(score.Text()) +
                           ", is not a whole number");
    AddObject(new THiScore(value, CleanName(row.ChildElement("NAME").Text())));
    // Only a plain replay name: the file leads nowhere outside the folder.
    std::string replay = Trim(row.ChildElement("REPLAY").Text());
    if (IsReplayName(replay)) Items(LastIndex())->Replay = replay;
  }
}

// A damaged file (not well-formed, too big, or a row whose SCORE is missing or
// not a whole number) must not cost the player the game: it is reported once,
// kept as HISCORE.XML.bad (replacing an older one) for whoever wants to mend
// it, and the table is left empty so that the form fills in the defaults. A
// file that cannot be read at all is reported and left where it is. A row
// without a NAME reads as an empty name; rows past the tenth are ignored.
void THiScoreList::LoadHiScores() {
  const std::string fileName = HiScoreFilePath(FileName);
  std::string path = fileName;
  try {
    path = XMLPath(fileName);
    ReadTable(path);
  } catch (const EXmlParseError& e) {
    Clear();
    bool kept = false;
    Report(std::string("The high-score file is damaged: ") + e.what() + ". " + SetAside(path, kept) +
           "; the default high scores are used.");
  } catch (const std::exception& e) {
    Clear();
    Report(std::string("Could not read the high scores: ") + e.what() + ". The default high scores are used.");
  }
}

void THiScoreList::MergeInto(THiScoreList& onDisk) const {
  // No rows in the file (none there yet): this table is the whole story.
  if (onDisk.Count() == 0) {
    for (int i = 0; i < Count(); ++i) onDisk.AddObject(new THiScore(*Items(i)));
    return;
  }
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Unsaved) {
      int row = onDisk.InsertScore(Items(i)->Score, Items(i)->Name);
      if (row >= 0) onDisk[row]->Replay = Items(i)->Replay;
    }
}

// The new table is written beside the old file and then renamed over it, so a
// failure at any point (a full disk, a read-only folder, a crash) leaves the
// old HISCORE.XML exactly as it was. A file that cannot be read is never
// replaced, since its rows could not be kept; a damaged one is kept aside as
// at start. After a failure the table in memory is as it was, its unsaved
// rows waiting for the next save.
void THiScoreList::SaveHiScores() {
  bool setAside = false, hadFile = false;
  try {
    const std::string path = XMLPath(HiScoreFilePath(FileName));
    hadFile = SomethingAt(path);
    TFileLock lock(path + HiScoreLockSuffix);
    THiScoreList onDisk;
    try {
      onDisk.ReadTable(path);
    } catch (const EXmlParseError& e) {
      onDisk.Clear();
      const std::string aside = SetAside(path, setAside);
      // What could not be kept aside is not overwritten either.
      if (!setAside) throw EXmlError(std::string(e.what()) + ". " + aside);
      Report(std::string("The high-score file is damaged: ") + e.what() + ". " + aside +
             "; this game's table replaces it.");
    }
    MergeInto(onDisk);

    std::unique_ptr<TXML> xml = OpenXML("");
    TXmlNode root = xml->DocumentElement();
    for (int i = 0; i < onDisk.Count(); ++i) {
      TXmlNode rank = root.AddChild("RANK" + std::to_string(i + 1));
      rank.AddChild("NAME").SetText(onDisk[i]->Name);
      rank.AddChild("SCORE").SetText(std::to_string(onDisk[i]->Score));
      if (!onDisk[i]->Replay.empty()) rank.AddChild("REPLAY").SetText(onDisk[i]->Replay);
    }
    xml->SaveToFile(path);

    // Saved: this copy now shows what the file holds.
    Clear();
    while (onDisk.Count() > 0) {
      AddObject(onDisk.Extract(0).release());
      Items(LastIndex())->Unsaved = false;
    }
    if (Count() > 0) HighScore = std::max(HighScore, Items(0)->Score);
  } catch (const std::exception& e) {
    Report(std::string("Could not save the high scores: ") + e.what() + "." +
           (setAside || !hadFile ? "" : " The previous high-score file is unchanged."));
  }
}

bool THiScoreList::PruneKeptReplays(const std::string& folder, size_t keep,
                                    const std::vector<const THiScoreList*>& tables) {
  std::set<std::string> pinned;
  // Taken in the order given, as every copy gives it; a save takes only one.
  std::vector<std::unique_ptr<TFileLock>> locks;
  try {
    for (const THiScoreList* table : tables) {
      // Rows not yet saved keep their games too, for the save still to come.
      for (int i = 0; i < table->Count(); ++i)
        if (!table->Items(i)->Replay.empty()) pinned.insert(table->Items(i)->Replay);
      const std::string path = XMLPath(HiScoreFilePath(table->FileName));
      locks.push_back(std::make_unique<TFileLock>(path + HiScoreLockSuffix));
      if (!SomethingAt(path)) continue;
      THiScoreList onDisk;
      onDisk.ReadTable(path);
      for (int i = 0; i < onDisk.Count(); ++i)
        if (!onDisk[i]->Replay.empty()) pinned.insert(onDisk[i]->Replay);
    }
  } catch (const std::exception&) {
    return false;  // the files' rows unknown: better a few files too many
  }
  ::PruneReplays(folder, keep, pinned);
  return true;
}
