// A game form over the headless platform, with a built castle and the clock
// under the test's control, for driving words one operation at a time.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/Utils.h"
#include "platform/Canvas.h"
#include "shell/GlyphfallUnit.h"
#include "support/GameFixture.h"
#include "waves/WaveUnit.h"
#include "words/WordUnit.h"

// A wave that only carries parameters; its stages do nothing.
class TTestWave : public TWave {
 public:
  void StageSetup() override {}
};

// The smallest bullet: a plain word that says it is one.
class TTestBullet : public TSpriteWord {
 public:
  bool IsBullet() const override { return true; }
  void OnRemove() override {}
  void Reward() override {}
};

class WordFixture : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    RandSeed(1);
    form->BuildCastle();
    form->Playing = true;
    form->GameTime = platform->GetTickCount();
  }

  TWordList& Attack() { return *form->AttackWords; }
  int32_t CastleTop() { return form->CastleTop(); }
  uint32_t Now() const { return form->GameTime; }
  void Advance(uint32_t ms) { form->GameTime += ms; }

  // A plain word in AttackWords, placed.
  TSpriteWord* AddWord(const std::string& text, TPoint at, uint8_t tier = 0) {
    auto w = TSpriteWord::ClassRef().CreateFromText(text, tier, DirLeft, nullptr);
    w->PlaceAt(at);
    return static_cast<TSpriteWord*>(Attack().Add(std::move(w)));
  }
  TSpriteWord* AddBullet(const std::string& letter, TPoint at, const TSpriteWord* shooter) {
    auto b = std::make_unique<TTestBullet>();
    b->CreateFromText(letter, 4, DirLeft, nullptr);
    b->PlaceAt(at);
    if (shooter) b->Shooter = shooter->Serial;
    return static_cast<TSpriteWord*>(Attack().Add(std::move(b)));
  }
  TTestWave& UseTestWave() {
    auto wave = std::make_unique<TTestWave>();
    TTestWave* w = wave.get();
    form->CurrentWave = std::move(wave);
    return *w;
  }
  // Runs one frame's update pass of AttackWords after ms of game time.
  void Frame(uint32_t ms = 10) {
    Advance(ms);
    Attack().UpdateAll(form->Stage);
  }
};
