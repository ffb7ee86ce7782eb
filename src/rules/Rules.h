// The rules a game is played by, chosen when it starts. The Classic rules
// are the form's own code path and have no object here; other rules take the
// keys meant for the words and may draw over them.
#pragma once
#include <cstdint>
#include <memory>

#include "rules/Settings.h"
#include "words/WordUnit.h"

class TCanvas;
class TSpriteWord;

class TRules {
 public:
  virtual ~TRules() = default;
  virtual TRulesKind Kind() const = 0;
  // A key at the words (never the space bar), between BeginKey and EndKey of
  // the form's events.
  virtual void KeyPressed(uint16_t key) = 0;
  // A letter typed as text (its capital), for lists in other languages;
  // unless exact, a plain letter also hits its accented forms.
  virtual void LetterPressed(char32_t letter, bool exact) = 0;
  // After the words are drawn.
  virtual void Draw(TCanvas&) {}
  // The word the keys go to, or null.
  virtual const TSpriteWord* Target() const { return nullptr; }
};

// The rules object for kind; null for the Classic rules.
std::unique_ptr<TRules> MakeRules(TRulesKind kind);

// The Typist rules: the first letter locks onto one word, and the keys go to
// it alone until it is gone; any other letter is a miss.
class TTypistRules : public TRules {
 public:
  TRulesKind Kind() const override { return TRulesKind::Typist; }
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
  static TSpriteWord* Choose(const TWordList::TMatch& matches);
  void Press(const TWordList::TMatch& matches);
  void Miss(TSpriteWord* locked);

  uint64_t locked_ = 0;      // serial of the locked word, 0 for none
  uint32_t missStamp_ = 0;   // when the last miss flashed the locked word
  bool missShown_ = false;
  int missRun_ = 0;          // misses since the last letter that hit
};
