// The word dictionary: the pool every ordinary attacking word is drawn from,
// loaded once from the word list beside the program.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "framework/ObjectList.h"
#include "words/WordUnit.h"

// The word list file, looked for in the current folder (the program's own).
inline constexpr const char* DictionaryFileName = "wordsenglish.txt";

// The bundled English list keeps its own rules (ASCII words as written, the
// single letters added); any other list is read as a list of words in some
// language, see TDictionary's constructor for other lists. OtherWithNouns is
// such a list in a language that writes its nouns with a capital (German).
enum class TListKind { Bundled, Other, OtherWithNouns };

// A file that cannot be opened or read. The message names the file and gives
// the system's reason.
class EFOpenError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Entries keep the order they were accepted in: the file's lines, then the
// single letters A..Z not already present. No two entries are equal ignoring
// letter case, and every entry is one or more ASCII letters.
//
// The word file is untrusted. Besides the acceptance rule of AddWord, the
// loader reads at most MaxFileBytes of it, rejects lines longer than
// MaxWordLength characters without building them up in memory, and keeps at
// most MaxFileWords words from it; whatever lies beyond is ignored. A real
// word list is far inside every one of these limits.
// A word list chosen by the player that cannot be played; the message says
// which and why.
class EWordListError : public EFOpenError {
 public:
  using EFOpenError::EFOpenError;
};

class TDictionary : public TCustomObjectList<TWord> {
 public:
  static constexpr size_t MaxFileBytes = 64u << 20;
  static constexpr size_t MaxWordLength = 64;
  static constexpr int MaxFileWords = 250000;
  // Other lists: words of 3 to 12 letters; fewer than MinOtherWords of them
  // and the list is not worth playing. Only the first MaxOtherFileBytes are
  // read (Debian's largest lists are far below it).
  static constexpr int OtherMinLetters = 3;
  static constexpr int OtherMaxLetters = 12;
  static constexpr int MinOtherWords = 100;
  static constexpr int64_t MaxOtherFileBytes = int64_t{1} << 30;

  // Loads DictionaryFileName; throws EFOpenError when it cannot be read.
  TDictionary();
  // Loads the given file; throws EFOpenError when it cannot be read.
  explicit TDictionary(const std::string& fileName);
  // Another list (kind Other): a line gives a word when it is 3-12 letters
  // the font can draw and starts with a small letter (proper nouns do not);
  // the entry is the word in capitals, and a word already present in capitals
  // is dropped. A list of more than MaxFileWords lines is sampled evenly over
  // the whole file. In a list of kind OtherWithNouns a word may also start
  // with a capital followed by small letters only (a noun, not an
  // abbreviation). A file that is not UTF-8 is read as Latin-1 (Note says
  // so). Throws EWordListError when the file cannot be read or gives fewer
  // than MinOtherWords words.
  TDictionary(const std::string& fileName, TListKind kind);
  ~TDictionary() override = default;

  TListKind Kind() const { return kind_; }
  // Something the player should know about how the list was read; empty
  // when it was read as it is.
  std::string Note;
  // Lines of another list that gave no word (blank lines and duplicates aside).
  int SkippedLines = 0;

  // True when an entry equals text ignoring ASCII letter case; both sides are
  // trimmed of blanks and control characters first.
  bool Contains(std::string_view text) const;
  // Appends text when it is non-empty, not yet present and letters only;
  // otherwise does nothing. Returns whether it was added.
  bool AddWord(std::string_view text);
  // A uniformly chosen entry (Random(Count)), still owned by the dictionary;
  // never null, since the single letters are always there.
  TWord* RandomWord() const;

 private:
  void LoadFromFile(const std::string& fileName);
  void LoadOtherList(const std::string& fileName);
  // The word of one line of another list in capitals, or empty.
  std::string OtherListWord(std::string_view line, bool latin1) const;
  TListKind kind_ = TListKind::Bundled;
  static bool IsWordText(std::string_view text);
  // Adds text, already known to be letters only, unless it is present.
  bool AddHashed(std::string_view text, size_t hash);
  void AddSingleLetters();

  // The duplicate test: an open-addressed table of entry indices, hashed by
  // the lower-cased text, compared without regard to case. No key strings
  // and no nodes: a large list loads about as fast as its lines can be read.
  int FindIndex(std::string_view text, size_t hash) const;
  void InsertIndex(int index, size_t hash);
  void Grow();
  struct TSlot {
    int32_t Index = -1;  // -1: empty
    uint32_t Tag = 0;    // the upper half of the entry's hash
  };
  static uint32_t TagOf(size_t hash) { return static_cast<uint32_t>(static_cast<uint64_t>(hash) >> 32); }
  std::vector<TSlot> slots_;
};
