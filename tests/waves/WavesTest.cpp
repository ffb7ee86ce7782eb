// The fourteen waves against the game's wave tables.
#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "waves/PlayFixture.h"

namespace {

const TWordKind* KindNamed(const std::string& name) {
  static const std::map<std::string, const TWordKind*> kinds = {
      {"Brick", &TBrickWord::ClassRef()},      {"Castle", &TCastleWord::ClassRef()},
      {"Bomb", &TBombWord::ClassRef()},        {"SlowDown", &TSlowDownWord::ClassRef()},
      {"Retreat", &TRetreatWord::ClassRef()},  {"Plain", &TSpriteWord::ClassRef()},
      {"Cannon", &TCannonWord::ClassRef()},    {"SpeedUp", &TSpeedUpWord::ClassRef()},
      {"Flash", &TFlashWord::ClassRef()},      {"Big", &TBigWord::ClassRef()},
      {"Shielded", &TShieldedWord::ClassRef()}};
  return kinds.at(name);
}

using TEntries = std::vector<std::pair<std::string, int>>;

struct TExpectedWave {
  std::array<int, 4> Tiers;
  int MaxWords, Vertical, Hidden, Stage0;
  TEntries Bonuses, Types;
  std::vector<std::string> Salvo;
  std::string SalvoClass;
  int SalvoCount, SalvoMaxWords;
};

std::vector<std::string> Letters(int times) {
  std::vector<std::string> words;
  for (char c = 'A'; c <= 'Z'; ++c) words.push_back(std::string(static_cast<size_t>(times), c));
  return words;
}

const TEntries Full10k20k30k = {
    {"Brick", 10000}, {"Retreat", 20000}, {"Bomb", 30000}, {"Castle", 30000}, {"SlowDown", 30000}};
const TEntries Busy = {{"Brick", 10000}, {"Retreat", 20000}, {"Bomb", 20000}, {"Castle", 10000}, {"SlowDown", 5000}};
const TEntries Mixed10 = {{"SpeedUp", 10}, {"Flash", 20}, {"Cannon", 15}, {"Shielded", 15}, {"Big", 10}};

const std::vector<TExpectedWave> Expected = {
    {{20, 80, 100, 0}, 1, 0, 0, 10, {{"Brick", 10000}, {"Bomb", 30000}}, {}, {"A"}, "Plain", 64, 8},
    {{20, 40, 71, 100},
     2,
     0,
     0,
     20,
     {{"Brick", 10000}, {"Retreat", 35000}, {"Bomb", 30000}, {"SlowDown", 38000}},
     {{"Flash", 20}, {"Cannon", 15}, {"Big", 15}},
     {"ATTACK"},
     "Plain",
     16,
     8},
    {{20, 40, 71, 100},
     3,
     15,
     10,
     40,
     {{"Brick", 10000}, {"Bomb", 30000}, {"Retreat", 35000}, {"SlowDown", 38000}},
     {{"SpeedUp", 5}, {"Flash", 20}, {"Cannon", 15}, {"Shielded", 15}, {"Big", 15}},
     {"BOMB", "FIRE"},
     "Plain",
     24,
     12},
    {{0, 0, 0, 100},
     3,
     20,
     10,
     50,
     {{"Brick", 10000}, {"Retreat", 20000}, {"Bomb", 30000}, {"Castle", 30000}},
     {{"SpeedUp", 10}, {"Flash", 20}, {"Cannon", 15}, {"Shielded", 15}, {"Big", 15}},
     {"KILL", "BURN", "BREAK"},
     "Plain",
     36,
     12},
    {{10, 20, 40, 100}, 4, 20, 15, 70, Full10k20k30k, Mixed10, {"A", "B", "C"}, "Plain", 42, 14},
    {{60, 70, 80, 100},
     10,
     20,
     15,
     100,
     {{"Brick", 10000}, {"Retreat", 21000}, {"Bomb", 20000}, {"Castle", 11000}, {"SlowDown", 5000}},
     {{"SpeedUp", 1}},
     {"BULLET", "LASER", "DESTROY"},
     "Plain",
     42,
     14},
    {{60, 70, 80, 100}, 10, 0, 0, 50, Busy, {{"Shielded", 1}}, {"X", "Y", "Z"}, "Plain", 60, 20},
    {{60, 70, 80, 100}, 10, 20, 0, 50, Busy, {{"Cannon", 1}}, {"STONE", "SHIELD", "FENCE"}, "Plain", 60, 20},
    {{10, 20, 40, 100},
     10,
     20,
     15,
     100,
     Full10k20k30k,
     {{"SpeedUp", 10}, {"Flash", 20}, {"Cannon", 15}, {"Shielded", 15}, {"Big", 8}},
     Letters(1),
     "Plain",
     80,
     20},
    {{0, 0, 0, 100}, 4, 20, 1, 100, Full10k20k30k, Mixed10, Letters(4), "Plain", 100, 20},
    {{0, 0, 0, 100}, 6, 0, 10, 100, Full10k20k30k, {{"Big", 10}}, {"DIFFICULT", "COMPLICATED"}, "Plain", 80, 20},
    {{0, 0, 0, 100},
     15,
     20,
     10,
     100,
     Full10k20k30k,
     {{"SpeedUp", 4}, {"Flash", 20}, {"Cannon", 15}, {"Shielded", 15}},
     {"KABOOM", "ZAP", "BANG", "BOOM", "CRASH", "POW"},
     "Plain",
     80,
     20},
    {{60, 70, 80, 100},
     10,
     20,
     0,
     60,
     {{"Brick", 10000}, {"Retreat", 20000}, {"Bomb", 21000}, {"Castle", 11000}, {"SlowDown", 5000}},
     {{"Cannon", 1}, {"Flash", 11}},
     {"ABC", "XYZ", "POW"},
     "Cannon",
     60,
     20},
    {{60, 70, 80, 100},
     20,
     20,
     0,
     60,
     {{"Castle", 5000}},
     {{"Cannon", 1}, {"SpeedUp", 1}},
     {"ABC", "XYZ", "POW"},
     "Cannon",
     60,
     20},
};

}  // namespace

TEST_F(PlayTest, EveryWaveMatchesTheWaveTables) {
  ASSERT_EQ(Expected.size(), static_cast<size_t>(WaveCount));
  EXPECT_EQ(CreateWave(0), nullptr);
  EXPECT_EQ(CreateWave(WaveCount + 1), nullptr);
  for (int n = 1; n <= WaveCount; ++n) {
    SCOPED_TRACE("wave " + std::to_string(n));
    const TExpectedWave& e = Expected[static_cast<size_t>(n - 1)];
    form->WaveNumber = n;
    ASSERT_EQ(WaveClass(n)->Number(), n);
    std::unique_ptr<TWave> wave = CreateWave(n);
    EXPECT_EQ(form->MessageText, "WAVE " + std::to_string(n));
    EXPECT_EQ(wave->Stage, -1);
    EXPECT_EQ(wave->StageStart, Clock());
    EXPECT_EQ(wave->TierLimits, e.Tiers);
    EXPECT_EQ(wave->MaxWords, e.MaxWords);
    EXPECT_EQ(wave->VerticalChance, e.Vertical);
    EXPECT_EQ(wave->HiddenLetterChance, e.Hidden);
    EXPECT_EQ(wave->WordStep, 1);
    EXPECT_EQ(wave->SpeedUpInterval, 10000);
    EXPECT_EQ(wave->CannonInterval, 5000);

    ASSERT_EQ(wave->Bonuses.Count(), static_cast<int>(e.Bonuses.size()));
    for (int i = 0; i < wave->Bonuses.Count(); ++i) {
      EXPECT_EQ(wave->Bonuses[i]->WordClass, KindNamed(e.Bonuses[static_cast<size_t>(i)].first)) << i;
      EXPECT_EQ(wave->Bonuses[i]->Interval, e.Bonuses[static_cast<size_t>(i)].second) << i;
      EXPECT_EQ(wave->Bonuses[i]->Stamp, Clock());
    }
    ASSERT_EQ(wave->WordTypes.Count(), static_cast<int>(e.Types.size()));
    for (int i = 0; i < wave->WordTypes.Count(); ++i) {
      EXPECT_EQ(wave->WordTypes[i]->WordClass, KindNamed(e.Types[static_cast<size_t>(i)].first)) << i;
      EXPECT_EQ(wave->WordTypes[i]->Chance, e.Types[static_cast<size_t>(i)].second) << i;
    }

    wave->NextStage();
    EXPECT_EQ(wave->Stage, 0);
    EXPECT_EQ(wave->WordsLeft, e.Stage0);
    EXPECT_FALSE(wave->SalvoRunning());
    wave->NextStage();
    EXPECT_EQ(wave->Stage, 1);
    ASSERT_TRUE(wave->SalvoRunning());
    EXPECT_EQ(*wave->SalvoWords, e.Salvo);
    EXPECT_EQ(wave->SalvoWordClass, KindNamed(e.SalvoClass));
    EXPECT_EQ(wave->WordsLeft, e.SalvoCount);
    EXPECT_EQ(wave->MaxWords, e.SalvoMaxWords);
    wave->NextStage();
    EXPECT_EQ(wave->Stage, 2);
    EXPECT_EQ(wave->WordsLeft, 0);
  }
}

TEST_F(PlayTest, SingleKindWavesReleaseOnlyThatKind) {
  const std::pair<int, const char*> waves[] = {{6, "SpeedUp"}, {7, "Shielded"}, {8, "Cannon"}};
  for (auto [n, kind] : waves) {
    form->WaveNumber = n;
    form->StartWave();
    for (int i = 0; i < 300; ++i) {
      Attack().SpawnWord();
      ASSERT_EQ(Attack().Count(), 1);
      ASSERT_EQ(&Attack().Words(0)->Kind(), KindNamed(kind)) << "wave " << n;
      Attack().RemoveAll();
    }
  }

  form->WaveNumber = 14;
  form->StartWave();
  int cannons = 0;
  const int draws = 2000;
  for (int i = 0; i < draws; ++i) {
    Attack().SpawnWord();
    const TWordKind* kind = &Attack().Words(0)->Kind();
    ASSERT_TRUE(kind == KindNamed("Cannon") || kind == KindNamed("SpeedUp"));
    cannons += kind == KindNamed("Cannon");
    Attack().RemoveAll();
  }
  EXPECT_NEAR(cannons, draws / 2, draws / 20);
}
