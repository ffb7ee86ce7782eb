#include "record/TypingRecord.h"

#include <algorithm>

#include "framework/Letters.h"

double WordsPerMinute(int64_t hits, int64_t typingMs) {
  if (typingMs <= 0) return 0;
  return (static_cast<double>(hits) / CharsPerWord) / (static_cast<double>(typingMs) / 60000.0);
}

double AccuracyOf(int64_t hits, int64_t misses) {
  return hits + misses > 0 ? static_cast<double>(hits) / static_cast<double>(hits + misses) : 1.0;
}

char32_t TypedLetter(uint16_t key) {
  // Key codes of small letters are not letters (the platforms send capitals);
  // below 0xC0 only A-Z are, so no sign key is mistaken for one.
  if (key >= 'a' && key <= 'z') return 0;
  return IsLetterChar(key) ? UpperLetter(key) : 0;
}

namespace {
// Where letter is, or belongs, in a list kept in code order.
template <class List>
auto PlaceOf(List& list, char32_t letter) {
  return std::lower_bound(list.begin(), list.end(), letter,
                          [](const auto& entry, char32_t c) { return entry.first < c; });
}
}  // namespace

TKeyFigures& TKeyTable::operator[](char32_t letter) {
  if (letter >= 'A' && letter <= 'Z') return latin_[letter - 'A'];
  auto at = PlaceOf(others_, letter);
  if (at == others_.end() || at->first != letter) at = others_.insert(at, {letter, TKeyFigures{}});
  return at->second;
}

const TKeyFigures& TKeyTable::operator[](char32_t letter) const {
  static const TKeyFigures none{};
  if (letter >= 'A' && letter <= 'Z') return latin_[letter - 'A'];
  auto at = PlaceOf(others_, letter);
  return at != others_.end() && at->first == letter ? at->second : none;
}

std::vector<std::pair<char32_t, TKeyFigures>> TKeyTable::Used() const {
  std::vector<std::pair<char32_t, TKeyFigures>> used;
  for (int i = 0; i < LetterKeys; ++i)
    if (latin_[i].Presses > 0) used.emplace_back(static_cast<char32_t>('A' + i), latin_[i]);
  for (const auto& entry : others_)
    if (entry.second.Presses > 0) used.push_back(entry);
  return used;
}

double TGameFigures::BestWaveWpm() const {
  double best = 0;
  for (const TWaveFigures& w : Waves) best = std::max(best, w.Wpm());
  return best;
}

int64_t TTypingRecord::Pending(uint32_t time) const {
  return pending_ + (typable_ && time > since_ ? time - since_ : 0);
}

double TTypingRecord::CurrentWpm(uint32_t gameTime) const {
  return WordsPerMinute(game_.Hits, game_.TypingMs + std::min<int64_t>(Pending(gameTime), MaxKeyGap));
}

void TTypingRecord::TypableChanged(const TTypable& e) {
  pending_ = Pending(e.Time);
  typable_ = e.Any;
  since_ = e.Time;
}

void TTypingRecord::GameStarted(const TGameStart& e) {
  game_ = TGameFigures{};
  game_.Rules = e.Rules;
  game_.StartWave = e.Wave;
  if (!e.WordList.empty()) game_.WordList = e.WordList;
  game_.AccentsExact = e.AccentsExact;
  startTime_ = since_ = e.Time;
  waveOpen_ = typable_ = false;
  pending_ = 0;
}

void TTypingRecord::KeyTyped(const TKeyTyped& e) {
  const char32_t letter = TypedLetter(e.Key);
  if (letter == 0) return;  // only letters are typing; the space bar bombs
  TKeyFigures& key = game_.Keys[letter];
  ++key.Presses;
  const int64_t gap = std::min<int64_t>(Pending(e.Time), MaxKeyGap);
  key.GapMs += gap;
  ++key.Gaps;
  pending_ = 0;
  since_ = e.Time;
  game_.TypingMs += gap;
  if (e.Hit) {
    ++game_.Hits;
    for (const TKeyHit& hit : e.Hits) game_.Letters += hit.Letters;
  } else {
    ++game_.Misses;
    ++key.Misses;
  }
  if (!waveOpen_) return;
  TWaveFigures& wave = game_.Waves.back();
  wave.TypingMs += gap;
  ++(e.Hit ? wave.Hits : wave.Misses);
}

void TTypingRecord::WordFinished(const TWordFinished& e) {
  if (e.How == TWordEnd::Typed) ++game_.Words;
}

void TTypingRecord::BrickLost(const TBrickLost&) {
  if (waveOpen_) ++game_.Waves.back().BricksLost;
}

void TTypingRecord::WaveStarted(const TWaveEvent& e) {
  TWaveFigures wave;
  wave.Wave = e.Wave;
  game_.Waves.push_back(wave);
  waveStart_ = e.Time;
  waveOpen_ = true;
}

void TTypingRecord::WaveCompleted(const TWaveEvent& e) {
  ++game_.WavesCompleted;
  CloseWave(e.Time);
}

void TTypingRecord::GameEnded(const TGameEnded& e) {
  game_.Score = e.Score;
  game_.PlayMs = e.Time - startTime_;
  CloseWave(e.Time);
}

void TTypingRecord::CloseWave(uint32_t time) {
  if (!waveOpen_) return;
  game_.Waves.back().PlayMs = time - waveStart_;
  waveOpen_ = false;
}
