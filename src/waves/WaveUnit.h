// Waves: the level engine (releases, tiers, bonus drops, stages), the word
// salvo, and the fourteen waves.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/ObjectList.h"

class TWord;
class TWordKind;
class TSpriteWord;

// A special attacking kind of a wave, taken with probability 1 in Chance.
class TWordType {
 public:
  TWordType(const TWordKind* wordClass, int32_t chance) : WordClass(wordClass), Chance(chance) {}
  const TWordKind* WordClass;
  int32_t Chance;
  // Chance first, then the tier: the order of the random draws matters.
  std::unique_ptr<TSpriteWord> TryCreate(const TWord& entry) const;
};

// A bonus kind a wave drops, at most once per Interval.
class TBonus {
 public:
  TBonus(const TWordKind* wordClass, int32_t interval);
  uint32_t Stamp;
  int32_t Interval;
  const TWordKind* WordClass;
  void Update();
};

class TBonusList : public TCustomObjectList<TBonus> {};
class TWordTypeList : public TCustomObjectList<TWordType> {};

class TWave {
 public:
  // The common construction: "WAVE n" message, StageStart, defaults.
  TWave();
  virtual ~TWave();

  int32_t Stage = -1;
  std::unique_ptr<std::vector<std::string>> SalvoWords;
  const TWordKind* SalvoWordClass = nullptr;
  int32_t WordsLeft = 0;
  int32_t CannonInterval = 5000;
  uint32_t StageStart = 0;
  std::array<int32_t, 4> TierLimits{};
  TBonusList Bonuses;
  TWordTypeList WordTypes;
  int32_t WordStep = 1;
  int32_t MaxWords = 1;
  int32_t HiddenLetterChance = 0;
  int32_t VerticalChance = 0;
  int32_t SpeedUpInterval = 10000;

  virtual void StageSetup() = 0;

  void SetTierLimits(int32_t t1, int32_t t2, int32_t t3, int32_t t4);
  void SetWordsLeft(int32_t n) { WordsLeft = n; }
  void RestartStageClock();
  void StartSalvo(const std::vector<std::string>& words, const TWordKind* wordClass, int32_t count,
                  int32_t maxWords);
  void Update();
  bool IsComplete() const;
  void UpdateBonuses();
  void NextStage();
  uint8_t ChooseTier() const;
  bool SalvoRunning() const { return SalvoWords != nullptr; }
  bool BonusWordOfClassPresent(const TWordKind* wordClass) const;
  void RestampBonus(const TWordKind* wordClass);
};

// The wave with number n (1 .. 14); null outside that range.
std::unique_ptr<TWave> CreateWave(int n);
constexpr int WaveCount = 14;
