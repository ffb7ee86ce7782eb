// Words: the word sprite, the word lists that route key presses, every word
// kind, and the letter explosions words leave behind.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/GameEvents.h"
#include "framework/ObjectList.h"
#include "platform/Types.h"
#include "sprites/SpriteUnit.h"

class TBitmap;
class TCanvas;
class TSpriteWord;
class TBonusWord;

constexpr int SpeedTiers = 6;
constexpr std::array<int32_t, SpeedTiers> StepIntervals = {90, 70, 50, 30, 10, 1};
constexpr std::array<TColor, 3> BonusColours = {0x00FFFF, 0x0000FF, 0xFF0000};
constexpr uint8_t DirFalling = 2;
constexpr uint8_t DirLeft = 3;

// A dictionary entry, and the base of every word sprite.
class TWord : public TSprite {
 public:
  TWord() : TSprite(TPoint{0, 0}) {}
  explicit TWord(const std::string& text) : TSprite(TPoint{0, 0}), Text(text) {}
  std::string Text;
};

// A class reference for word kinds: what a wave's tables hold, and how words
// of a kind are made. IsKindOf tests class or descendant.
class TWordKind {
 public:
  TWordKind(const char* name, const TWordKind* parent) : name_(name), parent_(parent) {}
  virtual ~TWordKind() = default;
  const char* Name() const { return name_; }
  const TWordKind* Parent() const { return parent_; }
  bool InheritsFrom(const TWordKind* other) const;
  bool IsKindOf(const TSpriteWord& word) const;

  virtual std::unique_ptr<TSpriteWord> CreateFromText(const std::string& text, uint8_t tier, uint8_t direction,
                                                      TBitmap* icon) const = 0;
  virtual std::unique_ptr<TSpriteWord> CreateFromWord(const TWord& entry, uint8_t tier, uint8_t direction,
                                                      TBitmap* icon) const = 0;
  // Parameterless creation of a bonus kind; null for other kinds.
  virtual std::unique_ptr<TBonusWord> CreateBonus() const { return nullptr; }

 private:
  const char* name_;
  const TWordKind* parent_;
};

// The class reference of a word class W: makes words of W. (Which kind W
// descends from is given to the constructor.)
template <class W>
class TWordKindOf : public TWordKind {
 public:
  using TWordKind::TWordKind;
  std::unique_ptr<TSpriteWord> CreateFromText(const std::string& text, uint8_t tier, uint8_t direction,
                                              TBitmap* icon) const override {
    auto w = std::make_unique<W>();
    w->CreateFromText(text, tier, direction, icon);
    return w;
  }
  std::unique_ptr<TSpriteWord> CreateFromWord(const TWord& entry, uint8_t tier, uint8_t direction,
                                              TBitmap* icon) const override {
    auto w = std::make_unique<W>();
    w->CreateFromWord(entry, tier, direction, icon);
    return w;
  }
};

#define DECLARE_WORD_KIND             \
 public:                              \
  static const TWordKind& ClassRef(); \
  const TWordKind& Kind() const override { return ClassRef(); }

class TSpriteWord : public TWord {
 public:
  TSpriteWord();
  static const TWordKind& ClassRef();
  virtual const TWordKind& Kind() const { return ClassRef(); }

  // Every word gets a number of its own at creation; bullets remember their
  // cannon by it, never by address (a freed cannon's address can be reused).
  uint64_t Serial = 0;

  std::string FullText;
  uint8_t SpeedTier = 0;
  uint8_t Direction = 0;
  uint64_t Shooter = 0;  // serial of the cannon that fired this bullet, 0 if none
  bool Vertical = false;
  int32_t Scale = 1;
  uint32_t FlashStamp = 0;
  uint32_t HiddenSpinStamp = 0;
  uint32_t SpeedStamp = 0;
  int32_t HiddenSpinPhase = 0;
  TBitmap* Icon = nullptr;  // one of the form's pictures, not owned
  bool MayHideLetter = false;
  bool MayTurnVertical = false;
  bool SlowsWhenTyped = false;
  // For the game's observers: the tier and game time it was made with, and
  // whether its end has been told.
  uint8_t StartTier = 0;
  uint32_t MadeTime = 0;
  bool Finished = false;

  // Creation (the kind's "constructors", called on a fresh object).
  virtual void CreateFromText(const std::string& text, uint8_t tier, uint8_t direction, TBitmap* icon);
  virtual void CreateFromWord(const TWord& entry, uint8_t tier, uint8_t direction, TBitmap* icon);

  // Sprite operations.
  void Step() override;
  void Draw(const TStage& stage) override;
  void OnRemove() override;
  bool IsDead() override;

  // Word operations.
  virtual void DrawLetters(TCanvas& canvas);
  virtual void Act() {}
  virtual void Explode(const std::string& soundName, bool silent);
  virtual void Reward();
  virtual void TypeLetter();
  virtual void OnCrashed() {}
  virtual bool IsBullet() const { return false; }
  virtual int32_t Points() const;
  virtual TColor TextColour() const;

  int32_t FontSize() const { return 14 * Scale; }
  void PlaceAt(TPoint p) { Position = p; }
  bool MatchesKey(uint16_t key) const;
  // The real next letter (also behind a "?"), or 0 when none is left.
  char32_t NextLetter() const;
  // Whether a typed letter (a capital) hits the next letter; unless exact,
  // a plain letter also hits its accented forms (E hits É).
  bool MatchesLetter(char32_t letter, bool exact) const;
  // Letters in Text; a letter may take several bytes.
  int32_t LetterCount() const;
  void SetSpeedTier(uint8_t tier);
  void SpeedUp();
  void SlowDownOnType();
  bool IsFullyOnScreen() const;
  int32_t IconX() const;
  int32_t RightEdge() const;
  void RemoveFirstLetter();
  void SetWordFont(TCanvas& canvas) const;
  struct TLayout {
    int32_t TextTop = 0;
    TRect ClipRect;
  };
  TLayout TextLayout() const;
  void DrawIcon(TCanvas& canvas);
  void DrawLetterBacks(TCanvas& canvas, int firstLetter, TBitmap& picture);
  // Width of text at this word's font size on the off-screen canvas.
  int32_t TextWidthAt(const std::string& text) const;

  // The word as the game's observers see it.
  TWordRef Ref() const;
  // Tells the observers how the word left play; only the first end counts.
  void Finish(TWordEnd how);

 protected:
  void DrawHiddenLetter(TCanvas& canvas, int x, int y);
};

// ---- Bonus words (fall in BonusWords, give an effect instead of points) ----
class TBonusWord : public TSpriteWord {
  DECLARE_WORD_KIND
 public:
  // The parameterless creation of a kind (each kind calls CreateBonusWord
  // with its own text and icon).
  virtual void CreateBonus() = 0;
  virtual bool IsAvailable() const { return true; }
  void OnRemove() override;
  bool IsDead() override;
  void DrawLetters(TCanvas& canvas) override;
  void Reward() override;

 protected:
  void CreateBonusWord(const std::string& name, TBitmap* icon);
};

class TBrickWord : public TBonusWord {
  DECLARE_WORD_KIND
 public:
  void CreateBonus() override;
  bool IsAvailable() const override;
  void Reward() override;
  virtual void ShowRepair(TPoint p);
};

class TCastleWord : public TBrickWord {
  DECLARE_WORD_KIND
 public:
  void CreateBonus() override;
  void Reward() override;
  void ShowRepair(TPoint) override {}
};

class TBombWord : public TBonusWord {
  DECLARE_WORD_KIND
 public:
  void CreateBonus() override;
  bool IsAvailable() const override;
  void Reward() override;
};

class TSlowDownWord : public TBonusWord {
  DECLARE_WORD_KIND
 public:
  void CreateBonus() override;
  void Reward() override;
};

class TRetreatWord : public TBonusWord {
  DECLARE_WORD_KIND
 public:
  void CreateBonus() override;
  void Reward() override;
};

// ---- Armed and armoured attacking words ----
class TCannonWord : public TSpriteWord {
  DECLARE_WORD_KIND
 public:
  uint32_t FireStamp = 0;
  void CreateFromWord(const TWord& entry, uint8_t tier, uint8_t direction, TBitmap* icon) override;
  void Act() override;
};

class TBulletWord : public TSpriteWord {
  DECLARE_WORD_KIND
 public:
  int32_t Angle = 0;
  int32_t OffsetX = 0;
  int32_t OffsetY = 0;
  bool Spinning = false;
  void Draw(const TStage& stage) override;
  void OnRemove() override {}
  void Act() override;
  void Reward() override {}
  bool IsBullet() const override { return true; }
};

class TSpeedUpWord : public TSpriteWord {
  DECLARE_WORD_KIND
 public:
  uint32_t CountStamp = 0;
  int32_t DigitSize = 0;
  int32_t Countdown = 9;
  void CreateFromWord(const TWord& entry, uint8_t tier, uint8_t direction, TBitmap* icon) override;
  void Draw(const TStage& stage) override;
  void Act() override;
  void OnCrashed() override;
  void SpeedUpAll();
};

class TFlashWord : public TSpriteWord {
  DECLARE_WORD_KIND
 public:
  std::vector<TColor> Colours;
  int32_t ColourIndex = 0;
  void CreateFromText(const std::string& text, uint8_t tier, uint8_t direction, TBitmap* icon) override;
  void Draw(const TStage& stage) override;
  void Reward() override;
};

class TBigWord : public TSpriteWord {
  DECLARE_WORD_KIND
 public:
  void CreateFromText(const std::string& text, uint8_t tier, uint8_t direction, TBitmap* icon) override;
};

class TShieldedWord : public TSpriteWord {
  DECLARE_WORD_KIND
 public:
  bool Shielded = false;
  void CreateFromText(const std::string& text, uint8_t tier, uint8_t direction, TBitmap* icon) override;
  void Draw(const TStage& stage) override;
  void TypeLetter() override;
  int32_t Points() const override;
  TColor TextColour() const override;
};

// Re-creates the canvas font with its escapement set to angle (tenths of a
// degree, counter-clockwise), taken modulo 3600.
void SetFontAngle(TCanvas& canvas, int32_t angle);

// ---- The word lists ----
class TWordList : public TSpriteList {
 public:
  std::array<uint32_t, SpeedTiers> TierStamps{};

  TSpriteWord* Words(int i) const { return static_cast<TSpriteWord*>(Items(i)); }
  void UpdateAll(const TStage& stage) override;
  virtual void KeyPressed(uint16_t key);
  // A letter typed as text (a capital), for lists in other languages.
  void LetterPressed(char32_t letter, bool exact);
  int FindTarget(uint16_t key, bool bulletsOnly) const;
  int TopmostIndex() const;
  bool RowBusy(int32_t y) const;
  int CountedWords() const;
  // A word with letters left has come on screen: the player has something to type.
  bool AnyToType() const;
  void KillAll();
  void SpawnWord();
  // Types a letter into word and notes the hit for the game's observers.
  void TypeInto(TSpriteWord& word);
  using TMatch = std::function<bool(const TSpriteWord&)>;
  // One press: every word the press matches is typed into (see KeyPressed).
  void Dispatch(const TMatch& matches);
  int FindTarget(const TMatch& matches, bool bulletsOnly) const;
};

// ---- Letter explosions ----
struct TDebris {
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Speed = 0;
  int32_t Life = 0;
  TColor Colour = 0;
};

class TDebrisList : public TCustomObjectList<TDebris> {};

class TExplodeItem : public TSprite {
 public:
  // origin: top-left of the bursting area; size: its width and height.
  TExplodeItem(TPoint origin, TSize size, int32_t base, const std::vector<TColor>& colours);
  // The letter explosion of a word's first letter.
  static std::unique_ptr<TExplodeItem> ForLetter(const TSpriteWord& word);

  TDebrisList Debris;
  void Step() override;
  void Draw(const TStage& stage) override;
  // Dead once every fragment has expired, so the list does not grow.
  bool IsDead() override { return Debris.Count() == 0; }
};

class TExplodeLetterList : public TSpriteList {};
