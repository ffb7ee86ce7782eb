#include "record/TypingRecord.h"

#include <algorithm>

double WordsPerMinute(int64_t hits, int64_t typingMs) {
  if (typingMs <= 0) return 0;
  return (static_cast<double>(hits) / CharsPerWord) / (static_cast<double>(typingMs) / 60000.0);
}

double AccuracyOf(int64_t hits, int64_t misses) {
  return hits + misses > 0 ? static_cast<double>(hits) / static_cast<double>(hits + misses) : 1.0;
}

double TGameFigures::BestWaveWpm() const {
  double best = 0;
  for (const TWaveFigures& w : Waves) best = std::max(best, w.Wpm());
  return best;
}

double TTypingRecord::CurrentWpm(uint32_t gameTime) const {
  int64_t typing = game_.TypingMs;
  if (anyKey_ && gameTime > lastKey_) typing += std::min(gameTime - lastKey_, MaxKeyGap);
  return WordsPerMinute(game_.Hits, typing);
}

void TTypingRecord::GameStarted(const TGameStart& e) {
  game_ = TGameFigures{};
  game_.Rules = e.Rules;
  game_.StartWave = e.Wave;
  if (!e.WordList.empty()) game_.WordList = e.WordList;
  startTime_ = e.Time;
  anyKey_ = waveOpen_ = false;
}

void TTypingRecord::KeyTyped(const TKeyTyped& e) {
  if (e.Key < 'A' || e.Key > 'Z') return;  // only letters are typing; the space bar bombs
  TKeyFigures& key = game_.Keys[e.Key - 'A'];
  ++key.Presses;
  int64_t gap = 0;
  if (anyKey_) {
    gap = std::min(e.Time - lastKey_, MaxKeyGap);
    key.GapMs += gap;
    ++key.Gaps;
  }
  anyKey_ = true;
  lastKey_ = e.Time;
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
