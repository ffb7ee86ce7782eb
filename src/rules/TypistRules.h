#pragma once
#include <cstdint>

#include "play/Rules.h"
#include "words/WordUnit.h"

class TPlay;

// The Typist rules: the first letter locks onto one word, and the keys go to
// it alone until it is gone; any other letter is a miss.
class TTypistRules : public TRules {
 public:
  explicit TTypistRules(TPlay& play) : play_(play) {}
  void KeyPressed(uint16_t key) override;
  void LetterPressed(char32_t letter, bool exact) override;
  void Draw(TCanvas& canvas) override;
  const TSpriteWord* Target() const override { return Locked(); }
  int32_t Misses = 0;

 private:
  TSpriteWord* Locked() const;
  // Nearest the castle among the attack words and bullets whose next letter
  // is key; but a falling bonus word's before an attack word still far from
  // the castle.
  TSpriteWord* Choose(const TWordList::TMatch& matches) const;
  void Press(const TWordList::TMatch& matches);
  void Miss(TSpriteWord* locked);

  TPlay& play_;
  uint64_t locked_ = 0;      // serial of the locked word, 0 for none
  uint32_t missStamp_ = 0;   // when the last miss flashed the locked word
  bool missShown_ = false;
  int missRun_ = 0;          // misses since the last letter that hit
};
