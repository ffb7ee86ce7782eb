// Playing a word list other than the bundled one: choosing it, falling back
// to English, and typing its letters as text.
#include <filesystem>

#include "dictionary/DictionaryUnit.h"
#include "dictionary/WordLists.h"
#include "framework/Letters.h"
#include "play/Rules.h"
#include "replay/ReplayUnit.h"
#include "shell/GlyphfallUnit.h"
#include "shell/Session.h"
#include "words/WordUnit.h"

std::string WordListArgument(const std::vector<std::string>& args) {
  for (size_t i = 0; i + 1 < args.size(); ++i)
    if (args[i] == "--words") return args[i + 1];
  return std::string();
}

void TSession::UseWordList(const std::string& path, const std::string& name) {
  if (!path.empty()) {
    try {
      auto other = std::make_unique<TDictionary>(path, CapitalisesNouns(path) ? TListKind::OtherWithNouns : TListKind::Other);
      if (!other->Note.empty()) form_.Platform.ShowError(GameCaption, other->Note);
      form_.Dictionary = std::move(other);
      wordListPath_ = path;
      wordListName_ = name.empty() ? std::filesystem::path(path).stem().string() : name;
      return;
    } catch (const EFOpenError& e) {
      // The game goes on in English; only the bundled list is indispensable.
      form_.Platform.ShowError(GameCaption, std::string(e.what()) + ". The English words are played instead.");
    }
  }
  if (!form_.Dictionary || form_.Dictionary->Kind() != TListKind::Bundled)
    form_.Dictionary = std::make_unique<TDictionary>();
  wordListPath_.clear();
  wordListName_ = DefaultWordList;
}

void TSession::ApplyWordList() {
  accentsExact_ = settings_.AccentsExact;
  if (!WordListArgument(form_.Platform.Args()).empty() || settings_.Words == wordListName_) return;
  std::string path;
  bool found = settings_.Words == DefaultWordList;
  for (const TWordListChoice& list : InstalledWordLists())
    if (!found && list.Name == settings_.Words) {
      path = list.Path;
      found = true;
    }
  if (!found) {
    // Appended rather than "..." + name, which trips a false -Wrestrict in GCC 12.
    std::string message = "The word list ";
    message += settings_.Words;
    message += " is no longer installed. The English words are played instead.";
    form_.Platform.ShowError(GameCaption, message);
  }
  UseWordList(path, settings_.Words);
  // A list that could not be played is not tried again at every change.
  settings_.Words = wordListName_;
}

// Letter and digit keys: with a list in another language what they type
// arrives as text (an AZERTY digit key types é), so the key itself is not
// typed at the words. Other keys still are.
bool TypesText(uint16_t key) { return (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'); }

bool TSession::LettersAsText() const {
  return form_.Dictionary && form_.Dictionary->Kind() != TListKind::Bundled;
}

void TSession::TextAtWords(char32_t c) {
  // The space bar stays the bomb key, handled as a key.
  // Signs typed as text came as keys too, and were typed as those.
  bool letterOrDigit = IsLetterChar(c) || (c >= '0' && c <= '9');
  if (!form_.Playing || form_.GameOverStamp != 0 || !LettersAsText() || !letterOrDigit) return;
  char32_t letter = UpperLetter(c);
  form_.Events.BeginKey();
  if (rules_) {
    rules_->LetterPressed(letter, accentsExact_);
  } else {
    form_.BonusWords->LetterPressed(letter, accentsExact_);
    form_.AttackWords->LetterPressed(letter, accentsExact_);
  }
  // Observers get the letter's code; every letter the font draws fits 16 bits.
  form_.Events.EndKey(form_.GameTime, static_cast<uint16_t>(letter <= 0xFFFF ? letter : 0xFFFD));
}
