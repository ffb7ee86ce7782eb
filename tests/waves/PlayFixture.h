// A game in progress on a headless form, for the wave and word-kind tests.
// The clock is moved by hand and frames run without drawing, so every test
// sees exactly the times it sets.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/GameFixture.h"
#include "waves/WaveUnit.h"
#include "words/WordUnit.h"

// A game just started at wave 1, with the skip key enabled. Time is the
// form's GameTime, moved by the test itself.
class PlayTest : public GameFixture {
 protected:
  void SetUp() override {
    MakeForm({"/vbnmq"});
    StartGame();
    RandSeed(20260101);
  }

  TWave& Wave() { return *form->CurrentWave; }
  TWordList& Attack() { return *form->AttackWords; }
  TWordList& Bonus() { return *form->BonusWords; }
  uint32_t Clock() const { return form->GameTime; }
  int32_t Row(int r) const { return form->CastleTop() + 16 * r; }

  // One play frame, ms after the last.
  void Frame(uint32_t ms = 10) {
    form->GameTime += ms;
    form->UpdateSprites();
    form->UpdateWave();
  }
  void RunFor(uint32_t ms) {
    for (uint32_t t = 0; t < ms; t += 10) Frame();
  }
  // Long enough for every tier's pass to remove the words that are gone.
  void Settle() { RunFor(StepIntervals[0] + 10); }
  int LivingWords() {
    int n = 0;
    for (int i = 0; i < Attack().Count(); ++i) n += !Attack().Words(i)->Text.empty();
    return n;
  }
  // Only the word lists move: no releases, no bonus drops.
  void StepWords(uint32_t ms = 10) {
    form->GameTime += ms;
    Attack().UpdateAll(form->Stage);
    Bonus().UpdateAll(form->Stage);
  }
  void Press(uint16_t key) {
    form->KeyDown(key, {});
    form->KeyUp(key, {});
  }
  void Type(const std::string& letters) {
    for (char c : letters) Press(static_cast<uint16_t>(c));
  }

  // The end of the 2000 ms pause of the wave's first stage, with nothing on
  // screen and no bonus drops.
  void QuietStage() {
    Wave().Bonuses.Clear();
    RunFor(StagePause);
    Attack().RemoveAll();
  }

  template <class W = TSpriteWord>
  W* AddAttack(const std::string& text, uint8_t tier, TPoint at) {
    return Placed<W>(W::ClassRef().CreateFromText(text, tier, DirLeft, nullptr), at);
  }
  // Made from a dictionary entry, as the spawner makes them.
  template <class W>
  W* AddKind(const std::string& text, uint8_t tier, TPoint at) {
    return Placed<W>(W::ClassRef().CreateFromWord(TWord(text), tier, DirLeft, nullptr), at);
  }
  template <class W>
  W* Placed(std::unique_ptr<TSpriteWord> made, TPoint at) {
    auto* word = static_cast<W*>(made.get());
    Attack().Add(std::move(made));
    word->PlaceAt(at);
    return word;
  }
  TBulletWord* AddBullet(char letter, TPoint at) {
    TBulletWord* bullet = AddAttack<TBulletWord>(std::string(1, letter), 4, at);
    bullet->Spinning = true;
    return bullet;
  }
  template <class W>
  W* AddBonus(int32_t y) {
    std::unique_ptr<TBonusWord> made = W::ClassRef().CreateBonus();
    auto* word = static_cast<W*>(made.get());
    Bonus().Add(std::move(made));
    word->Position.Y = y;
    return word;
  }
  TBonus& AddEntry(const TWordKind& kind, int32_t interval) {
    return *Wave().Bonuses.Add(std::make_unique<TBonus>(&kind, interval));
  }
};
