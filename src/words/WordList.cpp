// The word lists: pacing by speed tier, key dispatch, and new attacking words.
#include <memory>
#include <vector>

#include "dictionary/DictionaryUnit.h"
#include "framework/Utils.h"
#include "platform/Utf8.h"
#include "shell/GlyphfallUnit.h"
#include "waves/WaveUnit.h"
#include "words/WaveLink.h"
#include "words/WordUnit.h"

namespace {
constexpr int32_t RowHeight = 16;
}

void TWordList::UpdateAll(const TStage& stage) {
  for (int t = 0; t < SpeedTiers; ++t) {
    const uint32_t interval = static_cast<uint32_t>(StepIntervals[static_cast<size_t>(t)]);
    if (!stage.Clock.TickEvery(TierStamps[t], stage.Paced(interval))) continue;
    // All words of one tier step together; a removal leaves the index where
    // it is, since the next word has moved into it.
    int i = 0;
    while (i < Count()) {
      if (Words(i)->SpeedTier != t || UpdateItem(stage, i)) ++i;
    }
  }
}

void TWordList::KeyPressed(uint16_t key) {
  Dispatch([key](const TSpriteWord& w) { return w.MatchesKey(key); });
}

void TWordList::LetterPressed(char32_t letter, bool exact) {
  Dispatch([=](const TSpriteWord& w) { return w.MatchesLetter(letter, exact); });
}

void TWordList::Dispatch(const TMatch& matches) {
  if (wordwave::SalvoRunning()) {
    // Every copy of a salvo word has to be typed: one word per press.
    int i = FindTarget(matches, false);
    if (i >= 0) TypeInto(*Words(i));
    return;
  }

  // One bullet per press, the leftmost; the cannon that fired it keeps its
  // own letter on this press.
  bool bulletHit = false;
  uint64_t shooter = 0;
  int b = FindTarget(matches, true);
  if (b >= 0) {
    TSpriteWord* bullet = Words(b);
    TypeInto(*bullet);
    bulletHit = true;
    shooter = bullet->Shooter;
  }

  int n = Count();
  for (int i = 0; i < n && i < Count(); ++i) {
    TSpriteWord* w = Words(i);
    if (bulletHit && (w->IsBullet() || (shooter != 0 && w->Serial == shooter))) continue;
    if (matches(*w)) TypeInto(*w);
  }
}

void TWordList::TypeInto(TSpriteWord& word) {
  if (!GlyphfallForm->Events.Listening()) {
    word.TypeLetter();
    return;
  }
  // As the key found it: the tier before typing slows it.
  TKeyHit hit{word.Ref(), 0};
  int32_t before = word.LetterCount();
  word.TypeLetter();
  hit.Letters = before - word.LetterCount();
  GlyphfallForm->Events.NoteHit(hit);
}

int TWordList::FindTarget(uint16_t key, bool bulletsOnly) const {
  return FindTarget([key](const TSpriteWord& w) { return w.MatchesKey(key); }, bulletsOnly);
}

int TWordList::FindTarget(const TMatch& matches, bool bulletsOnly) const {
  int best = -1;
  for (int i = 0; i < Count(); ++i) {
    const TSpriteWord* w = Words(i);
    if (!matches(*w) || (bulletsOnly && !w->IsBullet())) continue;
    if (best < 0 || w->Position.X < Words(best)->Position.X) best = i;
  }
  return best;
}

int TWordList::TopmostIndex() const {
  int best = -1;
  for (int i = 0; i < Count(); ++i) {
    const TSpriteWord* w = Words(i);
    if (w->IsBullet()) continue;
    if (best < 0 || w->Position.Y < Words(best)->Position.Y) best = i;
  }
  return best;
}

bool TWordList::RowBusy(int32_t y) const {
  for (int i = 0; i < Count(); ++i) {
    const TSpriteWord* w = Words(i);
    // The lower bound is inclusive: the row just under a word is busy too.
    if (w->Position.Y <= y && y <= w->Position.Y + RowHeight * w->Scale && !w->IsFullyOnScreen()) return true;
  }
  return false;
}

int TWordList::CountedWords() const {
  const TWordKind& bonus = TBonusWord::ClassRef();
  int n = 0;
  for (int i = 0; i < Count(); ++i)
    if (!bonus.IsKindOf(*Words(i))) ++n;
  return n;
}

bool TWordList::AnyToType() const {
  for (int i = 0; i < Count(); ++i) {
    const TSpriteWord* w = Words(i);
    if (!w->Text.empty() && w->Position.X < PlayfieldWidth) return true;
  }
  return false;
}

void TWordList::KillAll() {
  // Bursting never removes a word; the next update pass does.
  for (int i = 0; i < Count(); ++i) {
    Words(i)->Explode("letter.wav", false);
    Words(i)->Finish(TWordEnd::Burst);
  }
}

// The order of the random draws is part of the game: dictionary entry, kind
// entries (position, then the entry's own draws), the plain word's tier, the
// vertical roll, the hidden-letter roll and its position, the row.
void TWordList::SpawnWord() {
  if (!GlyphfallForm->Dictionary || GlyphfallForm->Dictionary->Count() == 0) return;
  const TWord& entry = *GlyphfallForm->Dictionary->RandomWord();
  TWave* wave = wordwave::Current();

  std::unique_ptr<TSpriteWord> made;
  if (wave) {
    std::vector<int> candidates;
    for (int i = 0; i < wave->WordTypes.Count(); ++i) candidates.push_back(i);
    while (!candidates.empty() && !made) {
      int p = Random(static_cast<int32_t>(candidates.size()));
      made = wave->WordTypes.Items(candidates[static_cast<size_t>(p)])->TryCreate(entry);
      if (!made) candidates.erase(candidates.begin() + p);
    }
  }
  if (!made) made = TSpriteWord::ClassRef().CreateFromWord(entry, wordwave::ChooseTier(), DirLeft, nullptr);

  TSpriteWord* word = made.get();
  Add(std::move(made));

  int32_t verticalChance = wave ? wave->VerticalChance : 0;
  if (word->MayTurnVertical && verticalChance != 0 && Random(verticalChance) == 0) word->Vertical = true;

  int32_t hiddenChance = wave ? wave->HiddenLetterChance : 0;
  if (word->MayHideLetter && hiddenChance != 0 && Random(hiddenChance) == 0 && !word->Text.empty()) {
    // Never the last letter of a longer word; a one-letter word becomes "?".
    size_t p = static_cast<size_t>(Random(word->LetterCount() - 1) + 1);
    size_t at = CharOffset(word->Text, p - 1);
    // Erase and insert rather than replace(..., "?"), which trips a false
    // -Wrestrict in GCC 12.
    word->Text.erase(at, CharBytes(word->Text, at));
    word->Text.insert(at, 1, '?');
  }

  TPoint start = GlyphfallForm->SpawnPoint(*word);
  if (start.Y == -1)
    Remove(word);  // never counted, so no OnRemove
  else
    word->PlaceAt(start);
}
