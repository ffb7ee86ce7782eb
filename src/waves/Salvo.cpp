// The word salvo that ends every wave: a warning, a pause, then a dense stream
// of fixed words that must each be typed (see TWordList::KeyPressed).
#include <string>

#include "framework/Utils.h"
#include "shell/GlyphfallUnit.h"
#include "sound/SoundEffects.h"
#include "waves/WaveUnit.h"
#include "words/WordUnit.h"

namespace {

constexpr TColor SalvoWarningColour = 0xFF0000;

// Two lines in one message, parted by the centre message's NUL separator. A
// plain literal would stop at the NUL, so the length is given explicitly.
const std::string SalvoWarning("PREPARE\0FOR A WORD SALVO!", 25);

}  // namespace

void TWave::StartSalvo(const std::vector<std::string>& words, const TWordKind* wordClass, int32_t count,
                       int32_t maxWords) {
  PlaySoundFile("wave\\bossalert.wav");
  GlyphfallForm->SetCentreMessage(SalvoWarning, SalvoWarningColour);
  SalvoWords = std::make_unique<std::vector<std::string>>(words);
  SalvoWordClass = wordClass ? wordClass : &TSpriteWord::ClassRef();
  MaxWords = maxWords;
  WordsLeft = count;
  StageStart = GlyphfallForm->GameTime;
}

void TWave::ReleaseSalvoWord() {
  if (SalvoWords->empty()) {
    // Nothing to release: let the salvo end rather than wait forever.
    WordsLeft = 0;
    return;
  }
  uint8_t tier = ChooseTier();
  const std::string& text = (*SalvoWords)[static_cast<size_t>(Random(static_cast<int32_t>(SalvoWords->size())))];
  // Salvo words skip the spawner's vertical and hidden-letter rolls.
  std::unique_ptr<TSpriteWord> made = SalvoWordClass->CreateFromText(text, tier, DirLeft, nullptr);
  if (!made) return;
  TWordList& attackWords = *GlyphfallForm->AttackWords;
  TSpriteWord* word = made.get();
  attackWords.Add(std::move(made));
  TPoint start = GlyphfallForm->SpawnPoint(*word);
  if (start.Y == -1)
    attackWords.Remove(word);  // never counted, so never counted off
  else
    word->PlaceAt(start);
}
