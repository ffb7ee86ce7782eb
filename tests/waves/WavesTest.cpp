// The fourteen waves as a player meets them.
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "waves/PlayFixture.h"

namespace {

// What a player sees of one wave when every word bursts as soon as it shows.
struct TWaveSeen {
  int Words = 0;       // released before the salvo
  std::set<int> Tiers;
  bool Vertical = false;
  int SalvoWords = 0;
  std::set<std::string> SalvoTexts, SalvoKinds;
};

using TStrings = std::set<std::string>;

}  // namespace

TEST_F(PlayTest, TheFourteenWavesAsAPlayerWhoBurstsEveryWordMeetsThem) {
  std::vector<TWaveSeen> seen(WaveCount + 1);
  uint64_t newest = 0;
  for (int frame = 0; frame < 200000 && !form->WavesLooped; ++frame) {
    Frame();
    TWaveSeen& wave = seen[static_cast<size_t>(form->WaveNumber)];
    for (int i = 0; i < Attack().Count(); ++i) {
      const TSpriteWord& w = *Attack().Words(i);
      if (w.Serial <= newest || w.IsBullet()) continue;
      newest = std::max(newest, w.Serial);
      if (Wave().SalvoRunning()) {
        ++wave.SalvoWords;
        wave.SalvoTexts.insert(w.FullText);
        wave.SalvoKinds.insert(w.Kind().Name());
      } else {
        ++wave.Words;
        wave.Tiers.insert(w.StartTier);
        wave.Vertical = wave.Vertical || w.Vertical;
      }
    }
    Attack().KillAll();
  }
  ASSERT_TRUE(form->WavesLooped) << "stuck in wave " << form->WaveNumber;

  int total = 0;
  for (int n = 1; n <= WaveCount; ++n) {
    const TWaveSeen& wave = seen[static_cast<size_t>(n)];
    SCOPED_TRACE("wave " + std::to_string(n));
    // Every wave ends in a salvo that repeats a few fixed words.
    EXPECT_GT(wave.Words, 0);
    EXPECT_GE(wave.SalvoWords, 16);
    EXPECT_LE(wave.SalvoTexts.size(), 26u);
    EXPECT_EQ(wave.SalvoKinds, (TStrings{n >= 13 ? "TCannonWord" : "TSpriteWord"}));
    total += wave.Words + wave.SalvoWords;
  }
  EXPECT_EQ(total, 1714);

  // The first wave: never at the fastest wave tier, and a salvo of A's.
  EXPECT_EQ(seen[1].Tiers.count(3), 0u);
  EXPECT_EQ(seen[1].SalvoTexts, TStrings{"A"});
  EXPECT_FALSE(seen[1].Vertical);
  // Waves that throw every word at the fastest wave tier.
  for (int n : {4, 10, 11, 12}) EXPECT_EQ(seen[static_cast<size_t>(n)].Tiers, std::set<int>{3}) << "wave " << n;
  // The giants' wave: all lying flat.
  EXPECT_FALSE(seen[11].Vertical);
}

TEST_F(PlayTest, TheBonusWordsEachWaveDrops) {
  // Two minutes of each wave held in its first stage, with a damaged brick
  // to mend and room for bombs, so every kind the wave has can fall.
  auto fallen = [this](int n) {
    form->WaveNumber = n;
    form->StartWave();
    TStrings kinds;
    for (uint32_t t = 0; t < 120000; t += 10) {
      Attack().RemoveAll();  // never counted off: the stage goes on
      form->Bombs = 0;
      form->Castle[0][20].State = TBrickState::Damaged1;
      Frame();
      for (int i = 0; i < Bonus().Count(); ++i) kinds.insert(Bonus().Words(i)->Kind().Name());
    }
    Bonus().RemoveAll();
    return kinds;
  };
  const TStrings early = {"TBombWord", "TBrickWord", "TRetreatWord", "TSlowDownWord"};
  const TStrings all = {"TBombWord", "TBrickWord", "TCastleWord", "TRetreatWord", "TSlowDownWord"};
  EXPECT_EQ(fallen(1), (TStrings{"TBombWord", "TBrickWord"}));
  EXPECT_EQ(fallen(2), early);
  EXPECT_EQ(fallen(3), early);
  EXPECT_EQ(fallen(4), (TStrings{"TBombWord", "TBrickWord", "TCastleWord", "TRetreatWord"}));
  for (int n = 5; n <= 13; ++n) EXPECT_EQ(fallen(n), all) << "wave " << n;
  EXPECT_EQ(fallen(14), TStrings{"TCastleWord"});
}

TEST_F(PlayTest, EachWaveFillsTheScreenUpToItsOwnNumberOfWords) {
  const int most[WaveCount] = {1, 2, 3, 3, 4, 10, 10, 10, 10, 4, 6, 15, 10, 20};
  for (int n = 1; n <= WaveCount; ++n) {
    form->WaveNumber = n;
    form->StartWave();
    Wave().Bonuses.Clear();
    Attack().RemoveAll();
    int seen = 0;
    for (uint32_t t = 0; t < StagePause + 5000; t += 10) {
      Frame();
      int words = 0;  // bullets come on top, fired by cannons
      for (int i = 0; i < Attack().Count(); ++i) words += !Attack().Words(i)->IsBullet();
      seen = std::max(seen, words);
    }
    EXPECT_LE(seen, most[n - 1]) << "wave " << n;
    // The last wave's cannons fire so fast that their bullets keep a few places.
    if (n < WaveCount) {
      EXPECT_EQ(seen, most[n - 1]) << "wave " << n;
    }
    EXPECT_EQ(form->GameOverStamp, 0u) << "wave " << n;
  }
}

TEST_F(PlayTest, EachWaveReleasesItsOwnKindsOfWord) {
  // P plain, S speed-up, F flash, C cannon, H shielded, B big.
  const std::map<char, std::string> names = {{'P', "TSpriteWord"}, {'S', "TSpeedUpWord"}, {'F', "TFlashWord"},
                                             {'C', "TCannonWord"}, {'H', "TShieldedWord"}, {'B', "TBigWord"}};
  const char* const kinds[WaveCount] = {"P",      "PFCB",   "PSFCHB", "PSFCHB", "PSFCHB", "S",  "H",
                                        "C",      "PSFCHB", "PSFCHB", "PB",     "PSFCH",  "CF", "CS"};
  for (int n = 1; n <= WaveCount; ++n) {
    form->WaveNumber = n;
    form->StartWave();
    TStrings seen, expected;
    for (const char* k = kinds[n - 1]; *k; ++k) expected.insert(names.at(*k));
    int cannons = 0;
    for (int i = 0; i < 400; ++i) {
      Attack().SpawnWord();
      ASSERT_EQ(Attack().Count(), 1);
      seen.insert(Attack().Words(0)->Kind().Name());
      cannons += &Attack().Words(0)->Kind() == &TCannonWord::ClassRef();
      Attack().RemoveAll();
    }
    EXPECT_EQ(seen, expected) << "wave " << n;
    if (n == WaveCount) {
      EXPECT_NEAR(cannons, 200, 40);  // the last wave: as many cannons as clocks
    }
  }
}
