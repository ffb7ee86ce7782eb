// The ten-row high-score table, its screens, and its file HISCORE.XML.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/ObjectList.h"

constexpr int HiScoreRows = 10;
constexpr int HiScoreNameLength = 8;
constexpr char HiScoreFileName[] = "HISCORE.XML";
// The Typist rules keep a table of their own, in the same format.
constexpr char HiScoreTypistFileName[] = "HISCORE-TYPIST.XML";
// Beside the file: the lock every copy of the game takes to save it.
constexpr char HiScoreLockSuffix[] = ".lock";
// What an empty name, and the free places of a name being typed, look like.
constexpr char HiScoreEmptyName[] = "--------";

// Folder of the high-score file; empty means the program's folder. Tests point
// it at a scratch folder before they create a form.
extern std::string HiScoreFolder;
// The one place that decides where the table is read from and written to.
std::string HiScoreFilePath(const std::string& fileName = HiScoreFileName);

class THiScore {
 public:
  THiScore(int32_t score, const std::string& name) : Score(score), Name(name) {}
  int32_t Score;
  std::string Name;
  // Entered in this copy of the game and not yet in the file: the next save
  // puts it into the table as the file then holds it.
  bool Unsaved = false;
  // The kept replay of the game that made the row (a file name in the
  // replays folder), or empty.
  std::string Replay;
};

class THiScoreList : public TCustomObjectList<THiScore> {
 public:
  int32_t HighScore = 0;
  // Row whose name is being typed; -1 while the table is only shown.
  int32_t EntryRow = -1;
  // The file of this table, and the rules' name the screen shows under its
  // title (none when empty).
  std::string FileName = HiScoreFileName;
  std::string RulesName;

  // After a game: a qualifying score gets its row and the name-entry screen.
  // replay names the game's kept replay, if any, for the row.
  void CheckNewScore(int32_t score, const std::string& replay = std::string());
  // Puts score in at the first row it reaches (ahead of equal scores) and drops
  // the last row, so the table keeps its length. Returns the row, or -1.
  int InsertScore(int32_t score, const std::string& name);
  // The first row score would take, or -1 when it does not qualify.
  int QualifyingRow(int32_t score) const;

  // The high-score screen: runs frames until a key or click ends it or the
  // window goes away. row is the entry being named, or -1 to only show.
  void ShowHiScores(int32_t row);
  // Every key-down while the screen runs.
  void NameEntryKey(uint16_t key);
  // Ends name entry as Enter does: the typed part becomes the name, the table
  // is saved. Nothing happens when no name is being entered.
  void CommitEntry();
  void DrawHiScores();
  // The row shown at playfield height y that has a kept replay, or -1.
  int ReplayRowAt(int y) const;

  void LoadHiScores();
  // Writes the table. Another copy of the game may have saved meanwhile, so
  // the file is read again first, under a lock that keeps other copies out
  // until the new file is in place, and this copy's unsaved rows go into the
  // table it holds: no copy's score is lost. The table then shows what the
  // file holds. A failure is reported and leaves the old file intact.
  void SaveHiScores();

  // Removes the kept replays of folder beyond the keep newest, sparing the
  // game of every row of these tables, in memory and in their files as they
  // are now: the tables' locks are held from the reading to the removing, so
  // a row another copy saves cannot lose its game. Nothing is removed (false)
  // when a table's file cannot be locked or read.
  static bool PruneKeptReplays(const std::string& folder, size_t keep, const std::vector<const THiScoreList*>& tables);

 private:
  // Appends the rows of the file at path; EXmlError when it cannot be read,
  // EXmlParseError when it is damaged.
  void ReadTable(const std::string& path);
  // Puts this table's unsaved rows into the rows read from the file (all of
  // this table when the file had none).
  void MergeInto(THiScoreList& onDisk) const;
};

// Name entry accepts exactly the letter keys and the digit keys (key codes
// 65-90 and 48-57), so names stay plain ASCII.
bool IsNameKey(uint16_t key);
// A score as the file holds it: optional blanks, an optional sign, decimal
// digits, within 32 bits. False for anything else, the empty text included.
bool ParseScore(std::string_view text, int32_t& value);
// The name as the table keeps a name read from the file: trimmed, printable
// ASCII only (each other character becomes "?"), at most eight characters.
std::string CleanName(std::string_view text);
