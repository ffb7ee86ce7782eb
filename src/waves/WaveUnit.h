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
  void StartSalvo(const std::vector<std::string>& words, const TWordKind* wordClass, int32_t count, int32_t maxWords);
  void Update();
  bool IsComplete() const;
  void UpdateBonuses();
  void NextStage();
  uint8_t ChooseTier() const;
  bool SalvoRunning() const { return SalvoWords != nullptr; }
  bool BonusWordOfClassPresent(const TWordKind* wordClass) const;
  void RestampBonus(const TWordKind* wordClass);

 private:
  // One word of the running salvo into AttackWords (or none, without a row).
  void ReleaseSalvoWord();
};

// The wave with number n (1 .. 14); null outside that range.
std::unique_ptr<TWave> CreateWave(int n);
constexpr int WaveCount = 14;

// The class reference of a wave: what StartWave creates by number.
class TWaveKind {
 public:
  virtual ~TWaveKind() = default;
  virtual int Number() const = 0;
  virtual std::unique_ptr<TWave> Create() const = 0;
};
// The class of wave n (1 .. 14); null outside that range.
const TWaveKind* WaveClass(int n);

// The fourteen waves: one class each, all shaped by their rows of the wave
// tables in Waves.cpp.
template <int N>
class TWaveOf : public TWave {
  static_assert(N >= 1 && N <= WaveCount);

 public:
  TWaveOf();
  void StageSetup() override;
};
using TWave1 = TWaveOf<1>;
using TWave2 = TWaveOf<2>;
using TWave3 = TWaveOf<3>;
using TWave4 = TWaveOf<4>;
using TWave5 = TWaveOf<5>;
using TWave6 = TWaveOf<6>;
using TWave7 = TWaveOf<7>;
using TWave8 = TWaveOf<8>;
using TWave9 = TWaveOf<9>;
using TWave10 = TWaveOf<10>;
using TWave11 = TWaveOf<11>;
using TWave12 = TWaveOf<12>;
using TWave13 = TWaveOf<13>;
using TWave14 = TWaveOf<14>;

// The pause after a wave's message or the salvo warning before any release.
constexpr uint32_t StagePause = 2000;
