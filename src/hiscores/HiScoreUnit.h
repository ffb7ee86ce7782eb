// The ten-row high-score table, its screens, and its file HISCORE.XML.
#pragma once
#include <cstdint>
#include <string>

#include "framework/ObjectList.h"

class THiScore {
 public:
  THiScore(int32_t score, const std::string& name) : Score(score), Name(name) {}
  int32_t Score;
  std::string Name;
};

class THiScoreList : public TCustomObjectList<THiScore> {
 public:
  int32_t HighScore = 0;
  int32_t EntryRow = -1;

  void CheckNewScore(int32_t score);
  void InsertScore(int32_t score, const std::string& name);
  void ShowHiScores(int32_t row);
  void NameEntryKey(uint16_t key);
  void DrawHiScores();
  void LoadHiScores();
  void SaveHiScores();
};
