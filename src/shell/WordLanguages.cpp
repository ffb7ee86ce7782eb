// Playing a word list other than the bundled one: choosing it, falling back
// to English, and typing its letters as text.
#include <filesystem>

#include "dictionary/DictionaryUnit.h"
#include "dictionary/WordLists.h"
#include "framework/Letters.h"
#include "rules/Rules.h"
#include "replay/ReplayUnit.h"
#include "shell/GlyphfallUnit.h"
#include "words/WordUnit.h"

std::string WordListArgument(const std::vector<std::string>& args) {
  for (size_t i = 0; i + 1 < args.size(); ++i)
    if (args[i] == "--words") return args[i + 1];
  return std::string();
}

void TGlyphfallForm::UseWordList(const std::string& path, const std::string& name) {
  if (!path.empty()) {
    try {
      auto other = std::make_unique<TDictionary>(path, CapitalisesNouns(path) ? TListKind::OtherWithNouns : TListKind::Other);
      if (!other->Note.empty()) Platform.ShowError(GameCaption, other->Note);
      Dictionary = std::move(other);
      WordListPath = path;
      WordListName = name.empty() ? std::filesystem::path(path).stem().string() : name;
      return;
    } catch (const EFOpenError& e) {
      // The game goes on in English; only the bundled list is indispensable.
      Platform.ShowError(GameCaption, std::string(e.what()) + ". The English words are played instead.");
    }
  }
  if (!Dictionary || Dictionary->Kind() != TListKind::Bundled) Dictionary = std::make_unique<TDictionary>();
  WordListPath.clear();
  WordListName = DefaultWordList;
}

void TGlyphfallForm::ApplyWordList() {
  AccentsExact = Settings.AccentsExact;
  if (!WordListArgument(Platform.Args()).empty() || Settings.Words == WordListName) return;
  std::string path;
  bool found = Settings.Words == DefaultWordList;
  for (const TWordListChoice& list : InstalledWordLists())
    if (!found && list.Name == Settings.Words) {
      path = list.Path;
      found = true;
    }
  if (!found) {
    // Appended rather than "..." + name, which trips a false -Wrestrict in GCC 12.
    std::string message = "The word list ";
    message += Settings.Words;
    message += " is no longer installed. The English words are played instead.";
    Platform.ShowError(GameCaption, message);
  }
  UseWordList(path, Settings.Words);
  // A list that could not be played is not tried again at every change.
  Settings.Words = WordListName;
}

// Letter and digit keys: with a list in another language what they type
// arrives as text (an AZERTY digit key types é), so the key itself is not
// typed at the words. Other keys still are.
bool TypesText(uint16_t key) { return (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'); }

bool TGlyphfallForm::LettersAsText() const { return Dictionary && Dictionary->Kind() != TListKind::Bundled; }

void TGlyphfallForm::TextInput(char32_t c) {
  // Only letters the font draws matter to play, and every one fits 16 bits.
  if (c <= 0xFFFF) RecordInput(TReplayInput::Text, static_cast<uint16_t>(c), {});
  // The space bar stays the bomb key, handled as a key.
  // Signs typed as text came as keys too, and were typed as those.
  bool letterOrDigit = IsLetterChar(c) || (c >= '0' && c <= '9');
  if (!Playing || GameOverStamp != 0 || !LettersAsText() || !letterOrDigit) return;
  char32_t letter = UpperLetter(c);
  Events.BeginKey();
  if (Rules) {
    Rules->LetterPressed(letter, AccentsExact);
  } else {
    BonusWords->LetterPressed(letter, AccentsExact);
    AttackWords->LetterPressed(letter, AccentsExact);
  }
  // Observers get the letter's code; every letter the font draws fits 16 bits.
  Events.EndKey(GameTime, static_cast<uint16_t>(letter <= 0xFFFF ? letter : 0xFFFD));
}
