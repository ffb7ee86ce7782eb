// Playing a word list other than the bundled one: choosing it, falling back
// to English, and typing its letters as text.
#include "dictionary/DictionaryUnit.h"
#include "framework/Letters.h"
#include "shell/GlyphfallUnit.h"
#include "words/WordUnit.h"

std::string WordListArgument(const std::vector<std::string>& args) {
  for (size_t i = 0; i + 1 < args.size(); ++i)
    if (args[i] == "--words") return args[i + 1];
  return std::string();
}

void TGlyphfallForm::UseWordList(const std::string& path) {
  if (!path.empty()) {
    try {
      auto other = std::make_unique<TDictionary>(path, TListKind::Other);
      if (!other->Note.empty()) Platform.ShowError(GameCaption, other->Note);
      Dictionary = std::move(other);
      WordListPath = path;
      return;
    } catch (const EFOpenError& e) {
      // The game goes on in English; only the bundled list is indispensable.
      Platform.ShowError(GameCaption, std::string(e.what()) + ". The English words are played instead.");
    }
  }
  if (!Dictionary || Dictionary->Kind() != TListKind::Bundled) Dictionary = std::make_unique<TDictionary>();
  WordListPath.clear();
}

bool TGlyphfallForm::LettersAsText() const { return Dictionary && Dictionary->Kind() != TListKind::Bundled; }

void TGlyphfallForm::TextInput(char32_t c) {
  // The space bar stays the bomb key, handled as a key.
  if (!Playing || GameOverStamp != 0 || !LettersAsText() || c <= ' ') return;
  char32_t letter = UpperLetter(c);
  Events.BeginKey();
  BonusWords->LetterPressed(letter, AccentsExact);
  AttackWords->LetterPressed(letter, AccentsExact);
  // Observers get the letter's code; every letter the font draws fits 16 bits.
  Events.EndKey(GameTime, static_cast<uint16_t>(letter <= 0xFFFF ? letter : 0xFFFD));
}
